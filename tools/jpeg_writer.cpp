// JPEG output through libjpeg: errors jump back here instead of ending the process.
#include "tools/jpeg_writer.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include <jpeglib.h>

#include "core/program_name.h"
#include "platform/replacing_file.h"
#include "tools/baked_picture.h"

namespace baker {

namespace {

struct ErrorTrap {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void onJpegError(j_common_ptr info) {
  ErrorTrap* trap = reinterpret_cast<ErrorTrap*>(info->err);
  char message[JMSG_LENGTH_MAX] = {};
  info->err->format_message(info, message);
  std::fprintf(stderr, "%s: jpeg writer: %s\n", kToolName, message);
  std::longjmp(trap->jump, 1);
}

}  // namespace

bool writeJpegFile(const std::string& path, const BakedPicture& picture, int quality) {
  platform::ReplacingFile file;
  std::string error;
  if (!file.open(path, error)) {
    std::fprintf(stderr, "%s: jpeg writer: cannot write %s (%s)\n", kToolName, path.c_str(), error.c_str());
    return false;
  }
  const std::vector<unsigned char> bytes = picture.toBytes();
  const size_t rowBytes = static_cast<size_t>(picture.width()) * static_cast<size_t>(picture.channels());

  jpeg_compress_struct info{};
  ErrorTrap trap{};
  info.err = jpeg_std_error(&trap.manager);
  trap.manager.error_exit = &onJpegError;
  errno = 0;
  if (setjmp(trap.jump) != 0) {
    // libjpeg has said what went wrong; a failed write leaves the system's reason in errno.
    if (errno != 0) {
      std::fprintf(stderr, "%s: jpeg writer: cannot write %s (%s)\n", kToolName, path.c_str(), std::strerror(errno));
    }
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file.stream());
  info.image_width = static_cast<JDIMENSION>(picture.width());
  info.image_height = static_cast<JDIMENSION>(picture.height());
  info.input_components = picture.channels();
  info.in_color_space = picture.channels() == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.dct_method = JDCT_ISLOW;
  info.optimize_coding = TRUE;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&bytes[info.next_scanline * rowBytes]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  if (!file.commit(error)) {
    std::fprintf(stderr, "%s: jpeg writer: cannot write %s (%s)\n", kToolName, path.c_str(), error.c_str());
    return false;
  }
  return true;
}

}  // namespace baker
