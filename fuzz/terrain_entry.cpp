#include "fuzz/fuzz_entries.h"

#include "fuzz/fuzz_picture_input.h"
#include "world/height_grid.h"
#include "world/terrain.h"

int fuzzTerrain(const uint8_t* data, size_t sizeBytes) {
  // Byte 0 picks the format, bytes 1 and 2 the patch layout; the picture file follows. Patch
  // counts stay small (1..4 patches of 2..17 vertices a side) so each input builds quickly.
  const std::unique_ptr<DecodedImage> picture = fuzzDecodePicture(data, sizeBytes, 3);
  if (!picture) {
    return 0;
  }
  const uint8_t layout = fuzzSetting(data, sizeBytes, 1);
  const uint8_t density = fuzzSetting(data, sizeBytes, 2);
  const int countX = 1 + layout % 4;
  const int countZ = 1 + (layout / 4) % 4;
  const int perPatchX = 2 + density % 16;
  const int perPatchZ = 2 + (density / 16) % 16;
  const TerrainBox box{-100.0f, -5.0f, -100.0f, 100.0f, 40.0f, 100.0f};
  Terrain terrain;
  if (!terrain.buildFromHeights(HeightGrid::fromPicture(*picture), box, countX, countZ, perPatchX, perPatchZ)) {
    return 0;
  }
  // Inside, on the far edges and outside: every query must stay within the grid.
  const float probes[] = {-150.0f, -100.0f, -37.5f, 0.0f, 12.25f, 99.99f, 100.0f, 250.0f};
  for (const float x : probes) {
    for (const float z : probes) {
      terrain.heightAt(x, z);
    }
  }
  return 0;
}
