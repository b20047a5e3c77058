// Glowing line segments: each segment goes to the GPU as one quad whose corners sit on its two end
// points; the volume-line vertex stage widens the quad across the view into a tube and the fragment
// stage colours it from a tile of a line picture.
// Whether the effect can run is decided once, by initialize(), and kept in the effects register;
// while the register has the lines off, drawing does nothing.
#pragma once

#include "gpu/draw_layer.h"
#include "platform/gl_capabilities.h"
#include "platform/glsl_runtime.h"

struct ShaderProgram;

constexpr const char* kVolumeLinesVertexFile = "volumeLines_vs.cg";
constexpr const char* kVolumeLinesFragmentFile = "volumeLines_fs.cg";
constexpr int kVolumeLineTextureCapacity = 30;
constexpr int kVolumeLinePictureCount = 7;
// The line pictures by the index addTexture takes: contours, enamels, red laser, blue glow, blue
// thunder, glass, fire spiral.
extern const char* const kVolumeLinePictures[kVolumeLinePictureCount];

// The pass the segments are drawn with: blended by their own alpha onto what the picture holds,
// alpha-tested, depth-tested without depth writes. The shading is the programs'; lighting, colour
// material and unit 0 stay as the title layers have them.
PassState volumeLinePass();

class VolumeLines {
 public:
  using ProfileCheck = bool (*)(platform::ShaderProfile profile);

  // Checks the context's multitexture and the shader stages (a warning box for each that is
  // missing), then loads both programs; returns enabled(). The effects register learns which.
  bool initialize();
  bool initialize(const platform::GLCapabilities& capabilities);
  // Loads picture `index` of kVolumeLinePictures with alpha from brightness and appends it; its
  // place in the list, or -1 (with a log line) for an unknown index or a full list.
  int addTexture(int index);
  // Applies the lines' pass, binds the programs and the first texture and opens the quads; false,
  // doing nothing, when the effect is off. Depth writes stay off until endLines.
  bool beginLines();
  void drawLine(float x0, float y0, float z0, float x1, float y1, float z1, float width);
  void endLines();

  bool enabled() const;  // the effects register has the lines on
  int textureCount = 0;
  unsigned int textures[kVolumeLineTextureCapacity] = {};
  ShaderProgram* vertexProgram = nullptr;    // the shader manager's
  ShaderProgram* fragmentProgram = nullptr;  // the shader manager's
  platform::GlslParameter* modelViewProjParameter = nullptr;
  platform::GlslParameter* modelViewParameter = nullptr;
  platform::GlslParameter* textureParameter = nullptr;
  // Answers whether the driver runs a shader stage; tests replace it.
  ProfileCheck profileSupported = &platform::isProfileSupported;

 private:
  bool vertexStageSupported() const;
  bool fragmentStageSupported() const;
  // One corner: its tile coordinate, side and width, then the other end point, then its own.
  void emitCorner(float s, float t, float side, float width, const float here[3], const float there[3]);
};
