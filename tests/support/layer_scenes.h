// Small scenes drawn through a drawing layer, each exercising one part of what the fixed function
// did: primitives, matrix steps, the light and material, texture units and recordings.
#pragma once

#include "tests/support/layer_pictures.h"

void perspectiveView(DrawLayer& layer);  // 50° view of the origin from (0.5, 1, 4)
// A quad whose four corners differ in colour: the diagonal it is split along shows.
void colouredQuads(DrawLayer& layer);
void fanStripAndLines(DrawLayer& layer);
// Two boxes placed with every kind of matrix step, in a perspective view with depth.
void placedBoxes(DrawLayer& layer);

extern const float kDirectionalLight[4];
extern const float kPointLight[4];
// A lit hemisphere mesh with a material, under the light placed in the view, drawn from its arrays
// or made as a mesh by handle, drawn and released.
enum class MeshDraw { FromArrays, ByHandle };
void litHemisphere(DrawLayer& layer, const float lightPosition[4], bool colorMaterial,
                   MeshDraw draw = MeshDraw::FromArrays);

// Three 2 × 2 textures of different texels and alphas, made and deleted with this.
struct Textures {
  Textures();
  ~Textures();
  Textures(const Textures&) = delete;
  Textures& operator=(const Textures&) = delete;
  unsigned int names[kDrawTextureUnits] = {0, 0, 0};
};
// A square over most of the target with the units' coordinates turned differently each, and a
// vertex colour that varies, so every texel meets several colours.
void texturedSquare(DrawLayer& layer);
// The textured square with the first `units` units on, in these modes, each with its texture.
Scene combining(const Textures& textures, TextureMode first, TextureMode second, TextureMode third, int units);

// Quads and a triangle under matrix steps; the triangle sets its colours, the quad takes the current one.
void recordedContent(DrawLayer& layer);
// Two copies of what `draw` draws, placed apart, the current colour set before the first only.
void placeCopies(DrawLayer& layer, const Scene& draw);
// The same two copies, the content recorded once and replayed.
void replayedCopies(DrawLayer& layer);
