#include "world/material.h"

#include <GL/glew.h>

#include <cassert>

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
  glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
  glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
  glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
  glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
  const MaterialLayer& layer = layers[0];
  if (layer.textureName < 0) {
    glColor4fv(diffuse);
    return;
  }
  if (glActiveTexture != nullptr) {
    glActiveTexture(GL_TEXTURE0);
  }
  glEnable(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(layer.textureName));
  // Colour-material tracking is on during drawing, so this is the lit surface colour.
  glColor4fv(layer.colour);
}
