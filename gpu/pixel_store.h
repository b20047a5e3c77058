// Pixel rows handed to or read from the GL in a stated layout, whatever earlier code left set:
// the layout holds for the scope's life and the values in force before come back at its end.
#pragma once

enum class PixelDirection { Unpack, Pack };  // into the GL (uploads), out of it (read-backs)

class PixelStoreScope {
 public:
  // Rows start on multiples of `alignmentBytes`; no row length or skipped rows and pixels.
  PixelStoreScope(PixelDirection direction, int alignmentBytes);
  ~PixelStoreScope();
  PixelStoreScope(const PixelStoreScope&) = delete;
  PixelStoreScope& operator=(const PixelStoreScope&) = delete;

 private:
  static constexpr int kValueCount = 4;  // alignment, row length, skipped rows, skipped pixels
  unsigned int names_[kValueCount] = {0, 0, 0, 0};
  int previous_[kValueCount] = {0, 0, 0, 0};
};
