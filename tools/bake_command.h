// The tools program's "bake" subcommand: bake DIR [--title TEXT] [--credit1 TEXT]
// [--credit2 TEXT] [--farewell TEXT].
#pragma once

int runBakeCommand(int argc, char** argv);

constexpr const char* kBakeUsage = "DIR [--title TEXT] [--credit1 TEXT] [--credit2 TEXT] [--farewell TEXT]";
