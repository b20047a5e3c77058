// What the 3DS reader hands to model loading: materials and named triangle objects in file order.
// Every ImportedObject keeps its arrays sized by its counts: vertexCount × 3 vertex and normal
// floats, texCoordCount × 2 texture-coordinate floats, faceCount faces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ImportedMaterial {
  std::string name;         // latin-1 bytes, at most 254
  std::string textureFile;  // the first texture map's file name; empty when there is none
  uint8_t colour[3] = {0, 0, 0};  // diffuse red, green, blue
  int32_t textureName = 0;  // GL texture name; 0 until model loading loads textureFile
};

struct ImportedFace {
  int32_t index[3] = {0, 0, 0};  // vertex indices in file order, 0..65535
};

struct ImportedObject {
  int32_t vertexCount = 0;
  int32_t faceCount = 0;
  int32_t texCoordCount = 0;
  // Position of the object's material in the materials list: 0 by default, -1 when the
  // material it names was not found.
  int32_t materialIndex = 0;
  std::string name;  // latin-1 bytes, at most 254
  std::vector<float> vertices;   // x, y, z per vertex, y up
  std::vector<float> normals;    // unit normal per vertex, (0, 0, 0) where none can be formed
  std::vector<float> texCoords;  // u, v per pair as stored
  std::vector<ImportedFace> faces;
};

struct ImportedModel {
  std::vector<ImportedMaterial> materials;
  std::vector<ImportedObject> objects;
};
