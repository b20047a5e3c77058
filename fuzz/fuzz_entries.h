// The fuzzed entry points: each takes any bytes and runs them through one of our readers the way
// the presentation does. libFuzzer drives them in the fuzz build; the corpus replay test feeds
// them the kept corpus in the normal build. Each returns 0 (libFuzzer's "keep going").
#pragma once

#include <cstddef>
#include <cstdint>

// The 3DS reader and the conversion of what it read into drawable meshes.
int fuzzModel3ds(const uint8_t* data, size_t sizeBytes);
// The picture decoders through their dispatch: the first byte picks the format.
int fuzzPicture(const uint8_t* data, size_t sizeBytes);
// Texture alpha from a picture's brightness and from a mask of another size.
int fuzzTextureAlpha(const uint8_t* data, size_t sizeBytes);
// The ground built from any decoded picture, and height queries over it.
int fuzzTerrain(const uint8_t* data, size_t sizeBytes);
