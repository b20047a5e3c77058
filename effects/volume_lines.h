// Glowing line segments: each segment goes to the GPU as one quad whose corners sit on its two end
// points; the volume-line vertex stage widens the quad across the view into a tube and the fragment
// stage colours it from a tile of a line picture.
// Whether the effect can run is decided once, by initialize(); when it cannot, drawing does nothing.
#pragma once

#include <GL/glew.h>

#include "platform/glsl_runtime.h"

struct ShaderProgram;

constexpr const char* kVolumeLinesVertexFile = "volumeLines_vs.cg";
constexpr const char* kVolumeLinesFragmentFile = "volumeLines_fs.cg";
constexpr int kVolumeLineTextureCapacity = 30;
constexpr int kVolumeLinePictureCount = 7;
// The line pictures by the index addTexture takes: contours, enamels, red laser, blue glow, blue
// thunder, glass, fire spiral.
extern const char* const kVolumeLinePictures[kVolumeLinePictureCount];

// The GL entry points the segments are issued through. The first five are the multitexture ones the
// effect needs; tests put recorders in place of them all.
struct VolumeLineCalls {
  PFNGLACTIVETEXTUREPROC activeTexture = nullptr;
  PFNGLCLIENTACTIVETEXTUREPROC clientActiveTexture = nullptr;
  PFNGLMULTITEXCOORD2FPROC multiTexCoord2f = nullptr;
  PFNGLMULTITEXCOORD3FPROC multiTexCoord3f = nullptr;
  PFNGLMULTITEXCOORD4FPROC multiTexCoord4f = nullptr;
  void(GLAPIENTRY* begin)(GLenum mode) = nullptr;
  void(GLAPIENTRY* end)() = nullptr;
  void(GLAPIENTRY* vertex3f)(GLfloat x, GLfloat y, GLfloat z) = nullptr;
  void(GLAPIENTRY* depthMask)(GLboolean flag) = nullptr;

  bool hasMultitexture() const;
};

// The entry points of the current GL context, as the extension loader found them.
VolumeLineCalls driverVolumeLineCalls();

class VolumeLines {
 public:
  using ProfileCheck = bool (*)(platform::ShaderProfile profile);

  // Checks the multitexture entry points and the shader stages (a warning box for each that is
  // missing), then loads both programs; returns enabled.
  bool initialize();
  bool initialize(const VolumeLineCalls& entryPoints);
  // Loads picture `index` of kVolumeLinePictures with alpha from brightness and appends it; its
  // place in the list, or -1 (with a log line) for an unknown index or a full list.
  int addTexture(int index);
  // Binds the programs and the first texture and opens the quads; false, doing nothing, when the
  // effect is off. Depth writes stay off until endLines.
  bool beginLines();
  void drawLine(float x0, float y0, float z0, float x1, float y1, float z1, float width);
  void endLines();

  bool enabled = false;
  int textureCount = 0;
  unsigned int textures[kVolumeLineTextureCapacity] = {};
  ShaderProgram* vertexProgram = nullptr;    // the shader manager's
  ShaderProgram* fragmentProgram = nullptr;  // the shader manager's
  platform::GlslParameter* modelViewProjParameter = nullptr;
  platform::GlslParameter* modelViewParameter = nullptr;
  platform::GlslParameter* textureParameter = nullptr;
  VolumeLineCalls calls;
  // Answers whether the driver runs a shader stage; tests replace it.
  ProfileCheck profileSupported = &platform::isProfileSupported;

 private:
  bool vertexStageSupported() const;
  bool fragmentStageSupported() const;
  // One corner: its tile coordinate, side and width, then the other end point, then its own.
  void emitCorner(float s, float t, float side, float width, const float here[3], const float there[3]);
};
