#include "image/decoded_image.h"

namespace {

int strideFor(int width, int bitsPerPixel) {
  const long long rowBits = static_cast<long long>(width) * bitsPerPixel;
  return static_cast<int>(((rowBits + 31) / 32) * 4);
}

bool isIndexedDepth(int bitsPerPixel) { return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8; }

}  // namespace

bool imageSizeAllowed(long long width, long long height) {
  if (width < 1 || height < 1 || width > kMaxImageSide || height > kMaxImageSide) {
    return false;
  }
  return static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) * 4u <= kMaxImageBytes;
}

std::string pictureSizeRefusal(long long width, long long height) {
  return "picture size " + std::to_string(width) + " x " + std::to_string(height) + " refused";
}

bool DecodedImage::create(int width, int height, int bitsPerPixel, std::string& error) {
  *this = DecodedImage();
  if (!isIndexedDepth(bitsPerPixel) && bitsPerPixel != 24) {
    error = "unsupported bit depth " + std::to_string(bitsPerPixel);
    return false;
  }
  if (!imageSizeAllowed(width, height)) {
    error = "picture size " + std::to_string(width) + " x " + std::to_string(height) + " refused";
    return false;
  }
  width_ = width;
  height_ = height;
  bitsPerPixel_ = bitsPerPixel;
  rowStrideBytes_ = strideFor(width, bitsPerPixel);
  pixels_.assign(static_cast<size_t>(rowStrideBytes_) * height, 0);
  if (isIndexedDepth(bitsPerPixel)) {
    palette_.assign(size_t{1} << bitsPerPixel, Bgra{0, 0, 0, 255});
  }
  return true;
}

void DecodedImage::setPaletteEntry(int index, uint8_t b, uint8_t g, uint8_t r) {
  if (index >= 0 && index < paletteSize()) {
    palette_[index] = Bgra{b, g, r, 255};
  }
}

void DecodedImage::setGreyPalette() {
  const int count = paletteSize();
  for (int i = 0; i < count; ++i) {
    const uint8_t level = static_cast<uint8_t>(count > 1 ? i * 255 / (count - 1) : 0);
    palette_[i] = Bgra{level, level, level, 255};
  }
}

DecodedImage::Bgra DecodedImage::paletteEntry(int index) const {
  if (index < 0 || index >= paletteSize()) {
    return Bgra{0, 0, 0, 0};
  }
  return palette_[index];
}

int DecodedImage::indexAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || !isIndexedDepth(bitsPerPixel_)) {
    return 0;
  }
  const uint8_t* row = rowBits(y);
  switch (bitsPerPixel_) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? (row[x >> 1] & 0x0f) : (row[x >> 1] >> 4);
    default:
      return row[x];
  }
}

void DecodedImage::setIndex(int x, int y, int index) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || !isIndexedDepth(bitsPerPixel_)) {
    return;
  }
  uint8_t* row = rowBits(y);
  switch (bitsPerPixel_) {
    case 1: {
      const uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((index & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
      break;
    }
    case 4: {
      uint8_t& byte = row[x >> 1];
      byte = (x & 1) ? static_cast<uint8_t>((byte & 0xf0) | (index & 0x0f))
                     : static_cast<uint8_t>((byte & 0x0f) | ((index & 0x0f) << 4));
      break;
    }
    default:
      row[x] = static_cast<uint8_t>(index);
  }
}

void DecodedImage::setColour(int x, int y, uint8_t b, uint8_t g, uint8_t r) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || bitsPerPixel_ != 24) {
    return;
  }
  uint8_t* p = rowBits(y) + static_cast<size_t>(x) * 3;
  p[0] = b;
  p[1] = g;
  p[2] = r;
}

void DecodedImage::createAlphaPlane(uint8_t initial) {
  alpha_.assign(static_cast<size_t>(width_) * height_, initial);
}

void DecodedImage::setAlpha(int x, int y, uint8_t alpha) {
  if (x >= 0 && y >= 0 && x < width_ && y < height_ && !alpha_.empty()) {
    alpha_[static_cast<size_t>(y) * width_ + x] = alpha;
  }
}

DecodedImage::Bgra DecodedImage::pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) {
    return Bgra{0, 0, 0, 0};
  }
  Bgra result{0, 0, 0, 255};
  if (bitsPerPixel_ == 24) {
    const uint8_t* p = rowBits(y) + static_cast<size_t>(x) * 3;
    result = Bgra{p[0], p[1], p[2], 255};
  } else {
    result = palette_[indexAt(x, y)];
    result.a = 255;
  }
  if (!alpha_.empty()) {
    result.a = alpha_[static_cast<size_t>(y) * width_ + x];
  }
  return result;
}

bool DecodedImage::convertTo24Bits() {
  if (!isValid()) {
    return false;
  }
  if (bitsPerPixel_ == 24) {
    return true;
  }
  const int stride = strideFor(width_, 24);
  std::vector<uint8_t> expanded(static_cast<size_t>(stride) * height_, 0);
  for (int y = 0; y < height_; ++y) {
    uint8_t* out = expanded.data() + static_cast<size_t>(y) * stride;
    for (int x = 0; x < width_; ++x) {
      const Bgra colour = palette_[indexAt(x, y)];
      out[0] = colour.b;
      out[1] = colour.g;
      out[2] = colour.r;
      out += 3;
    }
  }
  pixels_.swap(expanded);
  palette_.clear();
  bitsPerPixel_ = 24;
  rowStrideBytes_ = stride;
  return true;
}

DecodedImage DecodedImage::resampled(int width, int height) const {
  DecodedImage result;
  std::string error;
  if (!isValid() || !result.create(width, height, bitsPerPixel_, error)) {
    return DecodedImage();
  }
  result.palette_ = palette_;
  if (hasAlpha()) {
    result.createAlphaPlane(255);
  }
  for (int y = 0; y < height; ++y) {
    const int sourceY = static_cast<int>(static_cast<long long>(y) * height_ / height);
    for (int x = 0; x < width; ++x) {
      const int sourceX = static_cast<int>(static_cast<long long>(x) * width_ / width);
      if (bitsPerPixel_ == 24) {
        const uint8_t* p = rowBits(sourceY) + static_cast<size_t>(sourceX) * 3;
        result.setColour(x, y, p[0], p[1], p[2]);
      } else {
        result.setIndex(x, y, indexAt(sourceX, sourceY));
      }
      if (hasAlpha()) {
        result.alpha_[static_cast<size_t>(y) * width + x] = alpha_[static_cast<size_t>(sourceY) * width_ + sourceX];
      }
    }
  }
  return result;
}
