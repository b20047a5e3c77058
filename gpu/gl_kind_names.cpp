#include "gpu/gl_kind_names.h"

#include <GL/glew.h>

unsigned int glPrimitiveMode(Primitive primitive) {
  switch (primitive) {
    case Primitive::Points:
      return GL_POINTS;
    case Primitive::Lines:
      return GL_LINES;
    case Primitive::LineStrip:
      return GL_LINE_STRIP;
    case Primitive::TriangleStrip:
      return GL_TRIANGLE_STRIP;
    case Primitive::TriangleFan:
      return GL_TRIANGLE_FAN;
    case Primitive::Quads:
      return GL_QUADS;
    case Primitive::Triangles:
      break;
  }
  return GL_TRIANGLES;
}

unsigned int glBlendFactor(BlendFactor factor) {
  switch (factor) {
    case BlendFactor::Zero:
      return GL_ZERO;
    case BlendFactor::SourceColor:
      return GL_SRC_COLOR;
    case BlendFactor::OneMinusSourceColor:
      return GL_ONE_MINUS_SRC_COLOR;
    case BlendFactor::DestinationColor:
      return GL_DST_COLOR;
    case BlendFactor::OneMinusDestinationColor:
      return GL_ONE_MINUS_DST_COLOR;
    case BlendFactor::SourceAlpha:
      return GL_SRC_ALPHA;
    case BlendFactor::OneMinusSourceAlpha:
      return GL_ONE_MINUS_SRC_ALPHA;
    case BlendFactor::DestinationAlpha:
      return GL_DST_ALPHA;
    case BlendFactor::OneMinusDestinationAlpha:
      return GL_ONE_MINUS_DST_ALPHA;
    case BlendFactor::One:
      break;
  }
  return GL_ONE;
}
