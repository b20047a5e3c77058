// The kinds of things the drawing layer draws and how: primitives, matrix stacks, blend factors and
// texture-unit modes.
#pragma once

enum class Primitive { Points, Lines, LineStrip, Triangles, TriangleStrip, TriangleFan, Quads };
enum class MatrixStack { ModelView, Projection, Texture };
enum class BlendFactor {
  Zero,
  One,
  SourceColor,
  OneMinusSourceColor,
  DestinationColor,
  OneMinusDestinationColor,
  SourceAlpha,
  OneMinusSourceAlpha,
  DestinationAlpha,
  OneMinusDestinationAlpha,
};

// How a texture unit turns the colour coming in and its texel into the colour going out.
enum class TextureMode {
  Modulate,    // incoming × texel, alpha too
  Replace,     // the texel
  SquareTexel, // colour texel × texel; alpha the vertex colour's
  AddTexel,    // colour incoming + texel; alpha the vertex colour's
};
