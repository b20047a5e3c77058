// A decoded picture: indexed (1, 4 or 8 bits with a palette) or 24-bit blue-green-red pixel
// rows, bottom row first, each row padded to 4 bytes, with an optional 8-bit alpha plane.
// Invariant: a valid image is never wider or taller than kMaxImageSide and never needs more
// than kMaxImageBytes at 4 bytes per pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The image-type numbers the decoder takes; the texture manager picks them from file names.
enum ImageFormat : int {
  kImageUnknown = 0,
  kImageBmp = 1,
  kImageGif,
  kImageJpeg,
  kImagePng,
  kImageIco,
  kImageTiff,
  kImageTga,
  kImagePcx,
  kImageWbmp,
  kImageWmf
};

constexpr int kMaxImageSide = 16384;
constexpr size_t kMaxImageBytes = size_t{256} << 20;

// True for sides 1..kMaxImageSide whose 4-byte-per-pixel buffer stays within kMaxImageBytes
// (the texture manager's alpha buffer is that large, so nothing it builds can exceed it).
bool imageSizeAllowed(long long width, long long height);
// The reason given for a size imageSizeAllowed turns down, naming the size the file states.
std::string pictureSizeRefusal(long long width, long long height);

class DecodedImage {
 public:
  struct Bgra {
    uint8_t b, g, r, a;
  };

  bool isValid() const { return width_ > 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  int bitsPerPixel() const { return bitsPerPixel_; }
  bool hasAlpha() const { return !alpha_.empty(); }
  // width × height bytes, bottom row first, rows unpadded; nullptr without an alpha plane.
  const uint8_t* alphaPlane() const { return alpha_.empty() ? nullptr : alpha_.data(); }
  const uint8_t* bits() const { return pixels_.empty() ? nullptr : pixels_.data(); }
  int rowStrideBytes() const { return rowStrideBytes_; }
  // y = 0 is the bottom row. Alpha is 255 without an alpha plane; outside the picture all zero.
  Bgra pixel(int x, int y) const;
  // The palette index at (x, y) of an indexed image; 0 for 24-bit images or outside.
  int indexAt(int x, int y) const;
  int paletteSize() const { return static_cast<int>(palette_.size()); }
  Bgra paletteEntry(int index) const;

  // Expands an indexed image through its palette; the alpha plane stays. False when empty.
  bool convertTo24Bits();
  // Nearest-pixel copy at another size: (x, y) takes (x × width / w, y × height / h). Keeps the
  // bit depth, palette and alpha plane; an empty image when the size is not allowed.
  DecodedImage resampled(int width, int height) const;

  // Building, for the decoders. create() checks the size before allocating, zeroes the pixels,
  // gives indexed images a black palette of 2^bits entries and drops any alpha plane.
  bool create(int width, int height, int bitsPerPixel, std::string& error);
  uint8_t* rowBits(int y) { return pixels_.data() + static_cast<size_t>(y) * rowStrideBytes_; }
  const uint8_t* rowBits(int y) const { return pixels_.data() + static_cast<size_t>(y) * rowStrideBytes_; }
  void setPaletteEntry(int index, uint8_t b, uint8_t g, uint8_t r);
  void setGreyPalette();
  // Out-of-range coordinates are ignored; the index is masked to the bit depth.
  void setIndex(int x, int y, int index);
  void setColour(int x, int y, uint8_t b, uint8_t g, uint8_t r);
  // Adds an alpha plane filled with the given value (replacing any earlier one).
  void createAlphaPlane(uint8_t initial);
  uint8_t* alphaRow(int y) { return alpha_.data() + static_cast<size_t>(y) * width_; }
  void setAlpha(int x, int y, uint8_t alpha);
  void dropAlphaPlane() { alpha_.clear(); }

 private:
  int width_ = 0;
  int height_ = 0;
  int bitsPerPixel_ = 0;
  int rowStrideBytes_ = 0;
  std::vector<uint8_t> pixels_;
  std::vector<Bgra> palette_;
  std::vector<uint8_t> alpha_;
};
