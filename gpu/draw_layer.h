// The one way pictures are drawn: matrix stacks, primitives, meshes, recorded draws, one light,
// texture units and a pass state, turned into the GL of the current context by a back end.
// Every pass state the presentation relies on is set through here: nothing else enables or
// disables what a pass state covers. The layer binds every texture (through the binding record,
// platform/gl_binding_record.h, which the shader runtime shares), so it knows what is bound and
// never asks the driver while drawing.
//
// How to draw what the GPU should keep:
// - A mesh (anything that does not change from frame to frame): make it while loading with
//   createMesh from its arrays and indices, draw it by handle with drawMesh, release it with
//   releaseMesh. Nothing of it is sent again. (world/mesh does this for models and the ground.)
// - A pipeline: for each pass state a scene draws with, call preparePass while loading; the shader
//   back end builds the program for it then, so no frame compiles or links one.
// - A streamed run (what does change: sprites, lines, overlays): begin, the attributes and
//   vertices, end. The run goes into the one streaming buffer in a layout of just the attributes
//   set between begin and end; attributes set before begin are constant for the run.
//
// Sections: kinds and values; the pass state; the layer; making and reaching it.
#pragma once

#include <cstdint>
#include <memory>

#include "core/matrix4.h"
#include "gpu/draw_kinds.h"
#include "platform/gl_capabilities.h"

// ---- Kinds and values ----

// The most texture units a pass uses (the title layers' three).
constexpr int kDrawTextureUnits = 3;

struct TextureUnitState {
  bool enabled = false;
  TextureMode mode = TextureMode::Modulate;
};

struct Viewport {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Arrays of one mesh: positions (xyz), and where present normals (xyz) and texture coordinates (st)
// for unit 0, all `vertexCount` long.
struct VertexArrays {
  const float* positions = nullptr;
  const float* normals = nullptr;
  const float* texCoords = nullptr;
  int vertexCount = 0;
};

// A mesh the layer keeps, made once and drawn by handle; 0 is no mesh.
using MeshHandle = unsigned int;

// False when there is nothing to draw (no positions, no indices) and, with a log line naming the
// mesh's size, when an index names a vertex past the arrays' end.
bool meshArraysValid(const VertexArrays& arrays, const uint32_t* indices, int indexCount);

// ---- The pass state ----

// Everything a drawing pass relies on, applied as one value at the pass's start, so nothing it
// draws depends on what an earlier pass left. The defaults are the context's own at creation.
struct PassState {
  bool blend = false;
  BlendFactor blendSource = BlendFactor::One;
  BlendFactor blendDestination = BlendFactor::Zero;
  bool depthTest = false;
  bool depthWrite = true;
  bool cullBackFaces = false;
  bool alphaTest = false;
  float alphaAbove = 0.0f;  // fragments pass where alpha > this
  bool lighting = false;    // the one light and the material
  // The vertex colour stands for the material's ambient and diffuse colours.
  bool colorMaterial = false;
  bool scissorTest = false;
  TextureUnitState units[kDrawTextureUnits];

  bool operator==(const PassState& other) const;
  bool operator!=(const PassState& other) const { return !(*this == other); }
};

// How many of the fields differ between two pass states (each unit's use and mode count apart).
int changedFields(const PassState& from, const PassState& to);

// ---- The layer ----

class DrawLayer {
 public:
  virtual ~DrawLayer() = default;

  // "fixed-function" or "shader", for the log.
  virtual const char* backEndName() const = 0;

  // Pass state: the whole value, at the start of every pass. The fields it changes are counted
  // with the frames' draws (core/draw_counts).
  virtual void applyPass(const PassState& state) = 0;
  virtual const PassState& passState() const = 0;
  // While loading, for every pass state a scene will draw with: makes now what drawing with it
  // needs (the shader back end's program for the pass with a texture on each unit it uses), so
  // that no frame compiles or links a program.
  virtual void preparePass(const PassState& pass) = 0;

  // Matrix stacks, as the fixed function had them; angles in degrees.
  virtual void matrixMode(MatrixStack stack) = 0;
  virtual void pushMatrix() = 0;
  virtual void popMatrix() = 0;
  virtual void loadIdentity() = 0;
  virtual void loadMatrix(const Matrix4& matrix) = 0;
  virtual void multiplyMatrix(const Matrix4& matrix) = 0;
  virtual void translate(float x, float y, float z) = 0;
  virtual void rotate(float angleDegrees, float x, float y, float z) = 0;
  virtual void scale(float x, float y, float z) = 0;
  virtual void perspective(double fovYDegrees, double aspect, double nearDistance, double farDistance) = 0;
  virtual void frustum(double left, double right, double bottom, double top, double nearDistance,
                       double farDistance) = 0;
  virtual void ortho2D(double left, double right, double bottom, double top) = 0;
  virtual void lookAt(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ,
                      double upX, double upY, double upZ) = 0;
  // The top of a stack now.
  virtual Matrix4 matrix(MatrixStack stack) const = 0;

  // Primitives given vertex by vertex. The attribute calls set the current value, which the next
  // vertex takes and which stays current after `end`, as the fixed function's did.
  virtual void begin(Primitive primitive) = 0;
  virtual void end() = 0;
  virtual void vertex(float x, float y) = 0;
  virtual void vertex(float x, float y, float z) = 0;
  virtual void normal(float x, float y, float z) = 0;
  virtual void color(float red, float green, float blue, float alpha) = 0;
  virtual void texCoord(float s, float t) = 0;  // unit 0
  virtual void unitTexCoord(int unit, float s, float t, float r, float q) = 0;
  void vertex(const float* xyz) { vertex(xyz[0], xyz[1], xyz[2]); }
  void normal(const float* xyz) { normal(xyz[0], xyz[1], xyz[2]); }
  void color(const float* rgba) { color(rgba[0], rgba[1], rgba[2], rgba[3]); }
  void color(float red, float green, float blue) { color(red, green, blue, 1.0f); }

  // A mesh's triangles from its arrays.
  virtual void drawIndexed(Primitive primitive, const VertexArrays& arrays, const uint32_t* indices,
                           int indexCount) = 0;

  // Meshes by handle: the arrays and indices (whole primitives) are handed over once, at load, in a
  // vertex layout of just the arrays given, and drawn by handle with the pass state, matrices,
  // light and material of the moment and the current values of the attributes not given. Nothing
  // of a mesh is sent again when it is drawn. 0 when refused (see meshArraysValid).
  virtual MeshHandle createMesh(Primitive primitive, const VertexArrays& arrays, const uint32_t* indices,
                                int indexCount) = 0;
  virtual void drawMesh(MeshHandle mesh) = 0;  // not while recording
  virtual void releaseMesh(MeshHandle mesh) = 0;  // 0, or a mesh released already, is ignored

  // Recorded draws: what is drawn between begin and end recording (primitives and matrix changes)
  // is kept and drawn again by `replay`, as display lists were. Names come in runs of `count`.
  virtual unsigned int createRecordings(int count) = 0;  // the first name; 0 when refused
  virtual void beginRecording(unsigned int name) = 0;
  virtual void endRecording() = 0;
  virtual void replay(unsigned int name) = 0;
  virtual void releaseRecordings(unsigned int first, int count) = 0;

  // The one light: a direction (w = 0) or a point, placed with the model-view matrix current now.
  virtual void setLight(const float position[4], const float ambient[4], const float diffuse[4],
                        const float specular[4]) = 0;
  // The material lit surfaces take (front and back); colour material overrides ambient and diffuse.
  virtual void setMaterial(const float ambient[4], const float diffuse[4], const float specular[4],
                           const float emission[4]) = 0;

  // Binds a 2D texture to a unit (0 unbinds). The unit's use is set by the pass state.
  virtual void bindTexture(int unit, unsigned int texture) = 0;

  virtual void setViewport(const Viewport& viewport) = 0;
  virtual const Viewport& viewport() const = 0;
  virtual void setScissor(const Viewport& box) = 0;
  virtual void setClearColor(float red, float green, float blue, float alpha) = 0;
  virtual const float* clearColor() const = 0;  // red, green, blue, alpha
  // Clears the whole viewport, whatever the pass's scissor test and depth writes.
  virtual void clear(bool color, bool depth) = 0;
  // Waits until the driver has drawn everything handed to it.
  virtual void finish() = 0;

  // A program of the project's own shaders draws instead of the pass state's shading until
  // `programEnded`; the layer then still feeds it the vertices and matrices.
  virtual void programStarted() = 0;
  virtual void programEnded() = 0;
};

// ---- Making and reaching it ----

// Makes the layer for the context that is current (its entry points loaded), with the back end its
// kind calls for, and makes it the one `drawLayer()` returns until `releaseDrawLayer()`, which must
// run while the context is still current.
bool createDrawLayer(const platform::GLCapabilities& capabilities);
void releaseDrawLayer();
bool hasDrawLayer();
DrawLayer& drawLayer();

// The back ends, for `createDrawLayer` and for tests that draw the same scene both ways.
std::unique_ptr<DrawLayer> createFixedFunctionLayer(const platform::GLCapabilities& capabilities);
std::unique_ptr<DrawLayer> createShaderLayer(const platform::GLCapabilities& capabilities);
// The back end the context's kind calls for among those this target has: the desktop has both
// (draw_layer_back_end_desktop.cpp), the web only the shader one (draw_layer_back_end_web.cpp).
std::unique_ptr<DrawLayer> createBackEnd(const platform::GLCapabilities& capabilities);
