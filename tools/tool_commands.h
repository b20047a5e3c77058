// The subcommands of the tools program. Each takes the arguments after its own name and
// returns the process exit status (0 success, 1 failure, 2 bad arguments).
#pragma once

struct ToolCommand {
  const char* name;
  const char* usage;  // the arguments, as the usage line shows them
  int (*run)(int argc, char** argv);
};
