// The drawing layer's shader back end: the fixed function's state kept on the CPU and drawn with
// generated programs from vertex buffers, for GL 3.3 core and OpenGL ES 3.0 contexts (and the
// compatibility contexts of GL 3.3 and up). One vertex array is bound whenever the layer draws,
// as a core context requires; every GL object here is made and deleted with the layer.
//
// Sections: the vertex and its attributes; recordings; the layer.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "gpu/draw_layer.h"
#include "gpu/fixed_function_shaders.h"
#include "gpu/matrix_stacks.h"

// ---- The vertex and its attributes ----

// One vertex as the layer streams it: every attribute, interleaved.
struct LayerVertex {
  float position[3] = {0.0f, 0.0f, 0.0f};
  float normal[3] = {0.0f, 0.0f, 1.0f};
  float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  float texCoords[kDrawTextureUnits][4] = {{0.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}, {0.0f, 0.0f, 0.0f, 1.0f}};
};

// Attribute bits: which values a recorded batch carries itself rather than taking them from the
// current values when it is replayed.
constexpr unsigned int kCarriesNormal = 1u;
constexpr unsigned int kCarriesColor = 2u;
constexpr unsigned int kCarriesTexCoord0 = 4u;  // unit N: kCarriesTexCoord0 << N
constexpr unsigned int kCarriesEverything = 0x1fu;

// The corners, in order, of the two triangles a quad v0 v1 v2 v3 is drawn as: split along v0-v2,
// as Mesa's fixed function splits the quads the layer's callers draw. The GL leaves the split to
// the driver; where a picture depends on the diagonal (the wobbling grid) the caller draws
// triangles itself.
constexpr int kQuadCorners[6] = {0, 1, 2, 0, 2, 3};

// The GL mode a primitive is drawn with: quads are drawn as the triangles they are turned into.
unsigned int drawnModeOf(Primitive primitive);

// The indices of whole primitives, quads turned into two triangles each (a last, incomplete quad
// is dropped, as the GL drops it).
void drawnIndices(Primitive primitive, const uint32_t* indices, int indexCount, std::vector<uint32_t>& drawn);

// The vertices of whole primitives: quads as triangles (in `triangles`), anything else as it is.
const std::vector<LayerVertex>& asDrawable(Primitive primitive, const std::vector<LayerVertex>& vertices,
                                           std::vector<LayerVertex>& triangles);

// Points the bound vertex array's inputs, one after the other, at the interleaved floats of
// vertices `strideBytes` long in the bound buffer, and switches each on.
class InterleavedInputs {
 public:
  explicit InterleavedInputs(int strideBytes) : strideBytes_(strideBytes) {}
  void add(unsigned int location, int components);

 private:
  int strideBytes_ = 0;
  size_t offsetBytes_ = 0;
};

// ---- Recordings ----

// A batch of vertices kept in its own buffer and vertex array.
struct RecordedBatch {
  Primitive primitive = Primitive::Triangles;  // never Quads: those are kept as triangles
  unsigned int vertexArray = 0;
  unsigned int buffer = 0;
  int vertexCount = 0;
  unsigned int carried = 0;
};

struct RecordedCommand {
  enum class Kind { Draw, Matrix, Replay };
  Kind kind = Kind::Draw;
  size_t batch = 0;                               // Draw
  std::function<void(MatrixStacks&)> matrixStep;  // Matrix
  unsigned int name = 0;                          // Replay
};

struct Recording {
  std::vector<RecordedBatch> batches;
  std::vector<RecordedCommand> commands;
  // The attribute values the recording leaves current, for the attributes it sets.
  unsigned int setsAttributes = 0;
  LayerVertex lastValues;
};

// ---- The layer ----

class ShaderLayer : public DrawLayer {
 public:
  explicit ShaderLayer(const platform::GLCapabilities& capabilities);
  ~ShaderLayer() override;
  ShaderLayer(const ShaderLayer&) = delete;
  ShaderLayer& operator=(const ShaderLayer&) = delete;

  // False, with a log line, when the context cannot run the simplest generated program.
  bool ready();

  const char* backEndName() const override { return "shader"; }

  void applyPass(const PassState& state) override;
  const PassState& passState() const override { return pass_; }
  void preparePass(const PassState& pass) override;

  void matrixMode(MatrixStack stack) override;
  void pushMatrix() override;
  void popMatrix() override;
  void loadIdentity() override;
  void loadMatrix(const Matrix4& matrix) override;
  void multiplyMatrix(const Matrix4& matrix) override;
  void translate(float x, float y, float z) override;
  void rotate(float angleDegrees, float x, float y, float z) override;
  void scale(float x, float y, float z) override;
  void perspective(double fovYDegrees, double aspect, double nearDistance, double farDistance) override;
  void frustum(double left, double right, double bottom, double top, double nearDistance,
               double farDistance) override;
  void ortho2D(double left, double right, double bottom, double top) override;
  void lookAt(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ, double upX,
              double upY, double upZ) override;
  Matrix4 matrix(MatrixStack stack) const override { return stacks_.top(stack); }

  void begin(Primitive primitive) override;
  void end() override;
  void vertex(float x, float y) override { vertex(x, y, 0.0f); }
  void vertex(float x, float y, float z) override;
  void normal(float x, float y, float z) override;
  void color(float red, float green, float blue, float alpha) override;
  void texCoord(float s, float t) override { unitTexCoord(0, s, t, 0.0f, 1.0f); }
  void unitTexCoord(int unit, float s, float t, float r, float q) override;
  using DrawLayer::color;
  using DrawLayer::normal;
  using DrawLayer::vertex;

  void drawIndexed(Primitive primitive, const VertexArrays& arrays, const uint32_t* indices,
                   int indexCount) override;

  MeshHandle createMesh(Primitive primitive, const VertexArrays& arrays, const uint32_t* indices,
                        int indexCount) override;
  void drawMesh(MeshHandle mesh) override;
  void releaseMesh(MeshHandle mesh) override;

  unsigned int createRecordings(int count) override;
  void beginRecording(unsigned int name) override;
  void endRecording() override;
  void replay(unsigned int name) override;
  void releaseRecordings(unsigned int first, int count) override;

  void setLight(const float position[4], const float ambient[4], const float diffuse[4],
                const float specular[4]) override;
  void setMaterial(const float ambient[4], const float diffuse[4], const float specular[4],
                   const float emission[4]) override;
  void bindTexture(int unit, unsigned int texture) override;

  void setViewport(const Viewport& viewport) override;
  const Viewport& viewport() const override { return viewport_; }
  void setScissor(const Viewport& box) override;
  void setClearColor(float red, float green, float blue, float alpha) override;
  const float* clearColor() const override { return clearColor_; }
  void clear(bool color, bool depth) override;
  void finish() override;

  void programStarted() override;
  void programEnded() override;

 private:
  // A generated program and where its uniforms are.
  struct Program {
    unsigned int object = 0;  // 0 when it would not compile: its draws are skipped
    int modelViewProjection = -1;
    int modelView = -1;
    int normalMatrix = -1;
    int textureMatrix = -1;
    int light = -1;
    int material = -1;
    int alphaAbove = -1;
    // The versions of the values it holds, so that only changes are sent.
    uint64_t transformVersion = ~0ull;
    uint64_t lightVersion = ~0ull;
    uint64_t materialVersion = ~0ull;
    float sentAlphaAbove = -1.0f;
  };

  // A mesh by handle: its vertex array and buffers (vertices, indices), the indices' type, and
  // which inputs its vertices carry.
  struct KeptMesh {
    Primitive primitive = Primitive::Triangles;  // Quads draw as the triangles their indices became
    unsigned int vertexArray = 0;
    unsigned int buffers[2] = {0, 0};
    int indexCount = 0;
    unsigned int indexType = 0;
    unsigned int carried = 0;
  };

  // Pass state, programs and uniforms (draw_layer_shaders.cpp).
  // The pass's fields to the GL: all of them without a pass in force, else those that differ.
  void sendPass(const PassState& state, const PassState* inForce);
  void followColor();
  // The key the pass draws with: its units count where they have a texture (unitsBound: as if
  // every unit it uses had one); the light and texture matrix as they stand.
  ShadingKey keyFor(const PassState& pass, bool unitsBound) const;
  Program& programFor(const ShadingKey& key);
  void makeProgram(const ShadingKey& key, Program& program);
  void refreshTransform();
  void sendUniforms(Program& program);
  // Puts the program for the pass state in use (unless one of the project's runs) with its values
  // sent; false when the draw must be skipped.
  bool prepareDraw();
  void recordMatrixStep(std::function<void(MatrixStacks&)> step);
  void handMatricesToPrograms() const;
  void handAlphaTestToPrograms() const;
  float clampedAlphaAbove() const;

  // Streamed runs (draw_layer_shaders_stream.cpp): one vertex array per layout of the attributes
  // a run carries, and the buffer the runs append to.
  void createStream();
  void releaseStream();
  // The run's first vertex in the buffer, or -1 when it could not be written.
  int appendToStream(const std::vector<LayerVertex>& vertices, unsigned int carried);
  void drawVertices(Primitive primitive, const std::vector<LayerVertex>& vertices, unsigned int carried);

  // Meshes by handle (draw_layer_shaders_meshes.cpp).
  void deleteMesh(const KeptMesh& mesh);

  // Draws (draw_layer_shaders_draws.cpp).
  void createStreamArrays();
  void releaseStreamArrays();
  void setCurrentAttributes(unsigned int carried) const;

  void recordVertices(Primitive primitive, const std::vector<LayerVertex>& vertices, unsigned int carried);
  void drawBatch(const RecordedBatch& batch);
  void replayCommands(const Recording& recording, int depth);

  platform::GLCapabilities capabilities_;
  PassState pass_;
  MatrixStacks stacks_;
  Viewport viewport_;
  float clearColor_[4] = {0.0f, 0.0f, 0.0f, 0.0f};

  // The light in eye space, then ambient, diffuse, specular; the material's ambient, diffuse,
  // specular and emission: the GL_LIGHT1 and material defaults until set.
  float light_[16] = {0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1};
  float material_[16] = {0.2f, 0.2f, 0.2f, 1, 0.8f, 0.8f, 0.8f, 1, 0, 0, 0, 1, 0, 0, 0, 1};
  uint64_t lightVersion_ = 0;
  uint64_t materialVersion_ = 0;

  // Model-view-projection and normal matrix, made again when a stack's top changed.
  unsigned int seenStackVersions_[3] = {~0u, ~0u, ~0u};
  uint64_t transformVersion_ = 0;
  Matrix4 modelViewProjection_;
  float normalMatrix_[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  bool textureMatrixUsed_ = false;

  std::map<uint32_t, std::unique_ptr<Program>> programs_;
  unsigned int programInUse_ = 0;
  bool projectProgramRuns_ = false;

  // Vertex by vertex: the current values and the vertices since begin.
  LayerVertex current_;
  bool insideBegin_ = false;
  Primitive primitive_ = Primitive::Triangles;
  std::vector<LayerVertex> vertices_;
  std::vector<LayerVertex> triangles_;  // scratch for quads

  // The attributes set between begin and end: the run carries those, the rest are constant.
  unsigned int runSets_ = 0;
  static constexpr unsigned int kStreamLayouts = kCarriesEverything + 1;
  unsigned int streamArrays_[kStreamLayouts] = {};
  unsigned int streamBuffer_ = 0;
  size_t streamBytes_ = 0;
  size_t streamCursor_ = 0;
  unsigned int indexedArray_ = 0;
  unsigned int indexedBuffers_[4] = {0, 0, 0, 0};  // positions, normals, texture coordinates, indices
  std::vector<uint32_t> quadIndices_;

  std::map<MeshHandle, KeptMesh> meshes_;
  MeshHandle nextMesh_ = 1;

  // Recorded draws by name; the one being recorded, and the current values outside it.
  std::map<unsigned int, Recording> recordings_;
  unsigned int nextRecordingName_ = 1;
  Recording* recording_ = nullptr;
  unsigned int recordingSets_ = 0;
  LayerVertex currentOutsideRecording_;
};
