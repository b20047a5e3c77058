// A picture being painted by the baker: grey or RGB floats in 0..1, rows top first as they are
// written to the file.
#pragma once

#include <vector>

namespace baker {

struct Colour {
  float r;
  float g;
  float b;
};

Colour mixColour(const Colour& a, const Colour& b, float t);  // a at t = 0, b at t = 1
Colour scaleColour(const Colour& c, float factor);

class BakedPicture {
 public:
  BakedPicture(int width, int height, int channels);  // channels: 1 grey, 3 RGB; all black

  int width() const { return width_; }
  int height() const { return height_; }
  int channels() const { return channels_; }

  // Grey pictures store the mean of r, g and b; reading one gives the grey in all three.
  void set(int x, int y, const Colour& colour);
  Colour get(int x, int y) const;
  void setGrey(int x, int y, float value);
  float grey(int x, int y) const;  // the mean of the channels
  void add(int x, int y, const Colour& colour);  // additive light, clamped later on output

  // Bytes for the file: rows top first, channels interleaved, values clamped and rounded.
  std::vector<unsigned char> toBytes() const;

 private:
  int index(int x, int y) const { return (y * width_ + x) * channels_; }

  int width_;
  int height_;
  int channels_;
  std::vector<float> values_;
};

}  // namespace baker
