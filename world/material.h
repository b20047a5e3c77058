// A surface's lighting colours and up to four texture layers (only layer 0 is used).
// A material does not own its textures: the texture manager does.
#pragma once

#include <string>

constexpr int kMaterialLayerCount = 4;

struct MaterialLayer {
  std::string fileName;  // image file name of the texture
  std::string name;      // display name: the model's material name, or the file name
  float colour[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // drawing colour while this layer's texture is used
  int textureName = -1;                        // texture name; negative: no texture
};

class Material {
 public:
  Material();
  virtual ~Material() = default;

  // index 0..3. A textureName of -1 asks the texture manager to load fileName (0 when it
  // cannot); a null or absent name makes the file name the display name.
  void setLayer(int index, const std::string& fileName, const char* name, int textureName);
  void setLayer(int index, const std::string& fileName, const std::string& name, int textureName);
  // Hands the colours to the drawing layer; with a layer-0 texture (name 0 included) binds it on
  // unit 0 and uses the layer colour, otherwise uses the diffuse colour and leaves the binding
  // alone. Whether unit 0 textures is the pass's to say: every pass that draws meshes turns it on.
  void apply() const;

  float ambient[4] = {0.4f, 0.4f, 0.4f, 1.0f};
  float diffuse[4] = {0.4f, 0.4f, 0.4f, 1.0f};
  float specular[4] = {0.4f, 0.4f, 0.4f, 1.0f};
  float emission[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  MaterialLayer layers[kMaterialLayerCount];
};
