// Argument handling for "bake": the folder, then optional replacements for the four text lines.
#include "tools/bake_command.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/program_name.h"
#include "tools/data_folder_baker.h"
#include "tools/text_models.h"
#include "tools/utf8_text.h"

namespace {

int badArguments(const std::string& reason) {
  std::fprintf(stderr, "%s: bake: %s\nusage: %s bake %s\n", kToolName, reason.c_str(), kToolName, kBakeUsage);
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

// The character as the message shows it: itself where it prints, always with its code point.
std::string characterName(char32_t character) {
  char code[16];
  std::snprintf(code, sizeof(code), "U+%04X", static_cast<unsigned>(character));
  const bool control = character < 0x20 || (character >= 0x7F && character <= 0x9F);
  return control ? std::string(code) : "'" + baker::encodeUtf8(character) + "' (" + code + ")";
}

// Why the text cannot be a text line, or an empty string when it can. Lengths count characters
// (code points), not bytes.
std::string textLineProblem(const char* option, const std::string& text) {
  std::u32string characters;
  if (!baker::decodeUtf8(text, &characters)) {
    return std::string(option) + ": the text is not valid UTF-8";
  }
  if (characters.size() > baker::kMaxTextLineLength) {
    return std::string(option) + ": the text is longer than " + std::to_string(baker::kMaxTextLineLength) +
           " characters";
  }
  const baker::MissingCharacter missing = baker::findMissingCharacter(characters);
  if (missing.found) {
    return std::string(option) + ": the font " + missing.fontName + " has no " + characterName(missing.character);
  }
  return "";
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
    const std::string problem = textLineProblem(argv[i], argv[i + 1]);
    if (!problem.empty()) {
      return badArguments(problem);
    }
    *field = argv[i + 1];
  }
  if (!baker::bakeDataFolder(folder, options)) {
    std::fprintf(stderr, "%s: bake: some files of %s could not be made\n", kToolName, folder.c_str());
    return 1;
  }
  return 0;
}
