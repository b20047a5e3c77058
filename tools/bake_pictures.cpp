// Writes the ground, sprite and line pictures.
#include "tools/data_folder_baker.h"
#include "tools/jpeg_writer.h"
#include "tools/line_textures.h"
#include "tools/sprite_pictures.h"
#include "tools/terrain_pictures.h"

namespace baker {

namespace {

// Height pictures are read as numbers, so they are kept nearly exact.
constexpr int kHeightQuality = 98;
constexpr int kPictureQuality = 92;

}  // namespace

bool bakePictures(const std::string& folder) {
  bool allWritten = writeJpegFile(dataPath(folder, "heightmap.jpg"), paintHeightMap(), kHeightQuality);
  allWritten = writeJpegFile(dataPath(folder, "terraintexture.jpg"), paintTerrainTexture(), kPictureQuality) && allWritten;
  allWritten = writeJpegFile(dataPath(folder, "height2.jpg"), paintWaveHeightField(), kHeightQuality) && allWritten;
  std::vector<NamedPicture> pictures = paintSpritePictures();
  for (NamedPicture& picture : paintLineTextures()) {
    pictures.push_back(picture);
  }
  for (const NamedPicture& picture : pictures) {
    allWritten = writeJpegFile(dataPath(folder, picture.fileName), picture.picture, kPictureQuality) && allWritten;
  }
  return allWritten;
}

}  // namespace baker
