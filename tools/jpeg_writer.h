// Writes baked pictures as baseline JPEG files: one grey channel for pictures read as
// brightness, YCbCr for colour.
#pragma once

#include <string>

namespace baker {

class BakedPicture;

// Quality 1..100. Returns false (after a line on stderr) when the file cannot be written. The
// same picture always gives the same bytes: integer DCT, no time stamp, no comment.
bool writeJpegFile(const std::string& path, const BakedPicture& picture, int quality);

}  // namespace baker
