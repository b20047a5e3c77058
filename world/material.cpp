#include "world/material.h"

#include <cassert>

#include "gpu/draw_layer.h"
#include "gpu/texture_manager.h"

Material::Material() {
  layers[0].colour[0] = 0.4f;
  layers[0].colour[1] = 0.4f;
  layers[0].colour[2] = 0.4f;
  layers[0].colour[3] = 1.0f;
}

void Material::setLayer(int index, const std::string& fileName, const char* name, int textureName) {
  setLayer(index, fileName, std::string(name != nullptr ? name : ""), textureName);
}

void Material::setLayer(int index, const std::string& fileName, const std::string& name, int textureName) {
  assert(index >= 0 && index < kMaterialLayerCount && "material layer index out of range");
  if (index < 0 || index >= kMaterialLayerCount) {
    return;
  }
  MaterialLayer& layer = layers[index];
  layer.fileName = fileName;
  layer.name = name.empty() ? fileName : name;
  if (textureName == -1) {
    textureName = static_cast<int>(textureManager().loadTexture(fileName, 0, 0.0f));
  }
  layer.textureName = textureName;
  for (float& channel : layer.colour) {
    channel = 1.0f;
  }
}

void Material::apply() const {
  DrawLayer& layer = drawLayer();
  layer.setMaterial(ambient, diffuse, specular, emission);
  const MaterialLayer& first = layers[0];
  if (first.textureName < 0) {
    layer.color(diffuse);
    return;
  }
  layer.bindTexture(0, static_cast<unsigned int>(first.textureName));
  // Colour-material tracking is on during drawing, so this is the lit surface colour.
  layer.color(first.colour);
}
