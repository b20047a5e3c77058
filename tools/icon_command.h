// The tools program's "icon" subcommand: icon FILE.png writes the program's icon as a PNG.
#pragma once

int runIconCommand(int argc, char** argv);

constexpr const char* kIconUsage = "FILE.png";
