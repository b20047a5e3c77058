// Argument handling for "bake": the folder, then optional replacements for the four text lines.
#include "tools/bake_command.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/data_folder_baker.h"

namespace {

int badArguments(const char* reason) {
  std::fprintf(stderr, "bake: %s\nusage: demotool bake %s\n", reason, kBakeUsage);
  return 2;
}

// The option's text field, or null for an unknown option name.
std::string* textOption(baker::BakeOptions* options, const char* name) {
  if (std::strcmp(name, "--title") == 0) return &options->title;
  if (std::strcmp(name, "--credit1") == 0) return &options->credit1;
  if (std::strcmp(name, "--credit2") == 0) return &options->credit2;
  if (std::strcmp(name, "--farewell") == 0) return &options->farewell;
  return nullptr;
}

}  // namespace

int runBakeCommand(int argc, char** argv) {
  if (argc < 1 || argv[0][0] == '-') {
    return badArguments("the data folder is missing");
  }
  const std::string folder = argv[0];
  baker::BakeOptions options;
  for (int i = 1; i < argc; i += 2) {
    std::string* field = textOption(&options, argv[i]);
    if (field == nullptr) {
      return badArguments("unknown option");
    }
    if (i + 1 >= argc) {
      return badArguments("an option is missing its text");
    }
    if (std::strlen(argv[i + 1]) > baker::kMaxTextLineLength) {
      return badArguments("a text line is longer than 10 characters");
    }
    *field = argv[i + 1];
  }
  if (!baker::bakeDataFolder(folder, options)) {
    std::fprintf(stderr, "bake: some files of %s could not be made\n", folder.c_str());
    return 1;
  }
  return 0;
}
