// Set-up shared by the world tests that draw through the per-pixel lighting programs: the
// lighting shaders copied into the working folder, the global shader manager set up with the
// presentation's start-up values, and a view straight down on the ground.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "gpu/draw_layer.h"
#include "gpu/shader_manager.h"
#include "tests/support/shader_test_files.h"
#include "tests/world/plain_view.h"

// True when both lighting programs compiled.
inline bool setUpStartUpLighting() {
  for (const char* name : {kPerPixelVertexFile, kPerPixelFragmentFile}) {
    const std::string text = readTextFile(std::string(RUN_DIR) + "/" + name);
    if (text.empty()) {
      return false;
    }
    writeTextFile(name, text);
  }
  const float colours[9] = {0.1f, 0.1f, 0.1f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
  ShaderManager& shaders = shaderManager();
  shaders.setupPerPixelLighting();
  shaders.setMaterialColours(colours);
  shaders.setShininessAndAttenuation(3.0f, 800.0f, 2.2f);
  return shaders.perPixel().fragmentProgram != nullptr && shaders.perPixel().vertexProgram != nullptr;
}

inline void releaseLighting() {
  shaderManager().release();
  std::remove(kPerPixelVertexFile);
  std::remove(kPerPixelFragmentFile);
}

// Begins drawing into surface looking down from 50 units above the origin: x to the right, -z up
// the picture, halfExtent units either side of the centre. The pass is the plain view's.
inline void lookDownOnGround(OffscreenSurface& surface, double halfExtent) {
  beginPlainView(surface);
  DrawLayer& layer = drawLayer();
  layer.matrixMode(MatrixStack::Projection);
  layer.multiplyMatrix(parallelProjection(halfExtent, 1.0, 100.0));
  layer.matrixMode(MatrixStack::ModelView);
  layer.lookAt(0.0, 50.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, -1.0);
}
