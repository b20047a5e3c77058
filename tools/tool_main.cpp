// The tools program: the data baker and the file inspectors, one subcommand each.
#include <cstdio>
#include <cstring>

#include "core/program_name.h"
#include "tools/bake_command.h"
#include "tools/icon_command.h"
#include "tools/image_report_command.h"
#include "tools/model_report_command.h"
#include "tools/tool_commands.h"

namespace {

int printVersion(int, char**) {
  std::printf("%s %s\n", kToolName, DEMO_VERSION);
  return 0;
}

const ToolCommand kCommands[] = {
    {"version", "", &printVersion},
    {"inspect-image", "FILE [--raw OUT]", &runInspectImage},
    {"inspect-model", "FILE", &runInspectModel},
    {"bake", kBakeUsage, &runBakeCommand},
    {"icon", kIconUsage, &runIconCommand},
};

void printUsage(std::FILE* stream) {
  std::fprintf(stream, "usage: %s COMMAND [ARGUMENTS]\ncommands:\n", kToolName);
  for (const ToolCommand& command : kCommands) {
    std::fprintf(stream, "  %s %s\n", command.name, command.usage);
  }
  std::fprintf(stream, "  --help, --version\n");
}

}  // namespace

int main(int argc, char* argv[]) {
  setProgramName(kToolName);
  if (argc < 2) {
    printUsage(stderr);
    return 2;
  }
  if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
    printUsage(stdout);
    return 0;
  }
  if (std::strcmp(argv[1], "--version") == 0) {
    return printVersion(argc - 2, argv + 2);
  }
  for (const ToolCommand& command : kCommands) {
    if (std::strcmp(argv[1], command.name) == 0) {
      return command.run(argc - 2, argv + 2);
    }
  }
  std::fprintf(stderr, "%s: unknown command '%s'\n", kToolName, argv[1]);
  printUsage(stderr);
  return 2;
}
