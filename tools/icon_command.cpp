#include "tools/icon_command.h"

#include <cstdio>
#include <string>
#include <vector>

#include "core/program_name.h"
#include "image/png_writer.h"
#include "tools/icon_picture.h"

int runIconCommand(int argc, char** argv) {
  if (argc != 1 || argv[0][0] == '-') {
    std::fprintf(stderr, "usage: %s icon %s\n", kToolName, kIconUsage);
    return 2;
  }
  const baker::BakedPicture icon = baker::paintIcon();
  const std::vector<unsigned char> rgb = icon.toBytes();
  std::string error;
  if (!writePng(argv[0], icon.width(), icon.height(), rgb.data(), error)) {
    std::fprintf(stderr, "%s: icon: %s not written: %s\n", kToolName, argv[0], error.c_str());
    return 1;
  }
  return 0;
}
