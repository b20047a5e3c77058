// Writes 8-bit RGB pictures as PNG files (screenshots).
#pragma once

#include <cstdint>
#include <string>

// rgb: width × height × 3 bytes, top row first, rows unpadded. False with a reason on failure, an
// existing file then left as it was.
bool writePng(const std::string& path, int width, int height, const uint8_t* rgb, std::string& error);
