#include "tools/icon_command.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/program_name.h"
#include "image/png_writer.h"
#include "tools/icon_picture.h"

namespace {

int badArguments(const char* reason) {
  std::fprintf(stderr, "%s: icon: %s\nusage: %s icon %s\n", kToolName, reason, kToolName, kIconUsage);
  return 2;
}

// The size the text names, or 0 when it names none the icon is painted at.
int iconSizeNamed(const char* text) {
  char* end = nullptr;
  const long size = std::strtol(text, &end, 10);
  const bool whole = end != text && *end == '\0';
  return whole && size > 0 && size <= 4096 && baker::isIconSize(static_cast<int>(size)) ? static_cast<int>(size) : 0;
}

}  // namespace

int runIconCommand(int argc, char** argv) {
  if (argc < 1 || argv[0][0] == '-') {
    return badArguments("the file name is missing");
  }
  int size = kDefaultIconSize;
  if (argc == 3 && std::strcmp(argv[1], "--size") == 0) {
    size = iconSizeNamed(argv[2]);
    if (size == 0) {
      return badArguments("--size takes 16, 32, 48, 64, 128, 256 or 512");
    }
  } else if (argc != 1) {
    return badArguments("unknown or incomplete option");
  }
  const baker::BakedPicture icon = baker::paintIcon(size);
  const std::vector<unsigned char> rgb = icon.toBytes();
  std::string error;
  if (!writePng(argv[0], icon.width(), icon.height(), rgb.data(), error)) {
    // The PNG writer's text names the file and the system's reason.
    std::fprintf(stderr, "%s: icon: %s not written: %s\n", kToolName, argv[0], error.c_str());
    return 1;
  }
  return 0;
}
