#include "tools/icon_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "image/png_writer.h"
#include "tools/icon_picture.h"

int runIconCommand(int argc, char** argv) {
  if (argc != 1 || argv[0][0] == '-') {
    std::fprintf(stderr, "usage: demotool icon %s\n", kIconUsage);
    return 2;
  }
  const baker::BakedPicture icon = baker::paintIcon();
  const std::vector<unsigned char> rgb = icon.toBytes();
  std::string error;
  errno = 0;
  if (!writePng(argv[0], icon.width(), icon.height(), rgb.data(), error)) {
    // The PNG writer says which step failed; the system says why.
    std::fprintf(stderr, "icon: %s not written: %s (%s)\n", argv[0], error.c_str(),
                 errno != 0 ? std::strerror(errno) : "no reason given");
    return 1;
  }
  return 0;
}
