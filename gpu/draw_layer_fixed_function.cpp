#include "gpu/draw_layer.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cassert>
#include <map>
#include <utility>
#include <vector>

#include "core/draw_counts.h"
#include "gpu/gl_kind_names.h"
#include "platform/gl_binding_record.h"

namespace {

// The one light the presentation uses; the others stay off.
constexpr GLenum kLight = GL_LIGHT1;

GLenum matrixModeOf(MatrixStack stack) {
  switch (stack) {
    case MatrixStack::Projection:
      return GL_PROJECTION;
    case MatrixStack::Texture:
      return GL_TEXTURE;
    case MatrixStack::ModelView:
      break;
  }
  return GL_MODELVIEW;
}

GLenum matrixReadOf(MatrixStack stack) {
  switch (stack) {
    case MatrixStack::Projection:
      return GL_PROJECTION_MATRIX;
    case MatrixStack::Texture:
      return GL_TEXTURE_MATRIX;
    case MatrixStack::ModelView:
      break;
  }
  return GL_MODELVIEW_MATRIX;
}

void setCapability(GLenum capability, bool on) {
  if (on) {
    glEnable(capability);
  } else {
    glDisable(capability);
  }
}

// Both combine set-ups take alpha from the vertex colour and colour from the texel with either
// the texel itself or what the units before gave.
void setCombine(GLint function, GLint firstSource) {
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, function);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, firstSource);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_TEXTURE);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_REPLACE);
  glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_PRIMARY_COLOR);
  glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
}

void setTextureMode(TextureMode mode) {
  switch (mode) {
    case TextureMode::Modulate:
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
      return;
    case TextureMode::Replace:
      glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
      return;
    case TextureMode::SquareTexel:
      setCombine(GL_MODULATE, GL_TEXTURE);
      return;
    case TextureMode::AddTexel:
      setCombine(GL_ADD, GL_PREVIOUS);
      return;
  }
}

// Forwards every call to the compatibility profile's fixed function: the pictures are those the
// driver's own transform, lighting and texture environment make.
class FixedFunctionLayer final : public DrawLayer {
 public:
  explicit FixedFunctionLayer(const platform::GLCapabilities& capabilities) : capabilities_(capabilities) {
    GLint box[4] = {0, 0, 0, 0};
    countQueries(1);
    glGetIntegerv(GL_VIEWPORT, box);
    viewport_ = Viewport{box[0], box[1], box[2], box[3]};
    // Colour material follows the vertex colour for ambient and diffuse, front and back (the
    // context's default, stated so the shader back end's rule is visibly the same).
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    // From here on every binding goes through the record.
    platform::resetBindingRecord();
  }

  const char* backEndName() const override { return "fixed-function"; }

  void applyPass(const PassState& state) override;
  const PassState& passState() const override { return state_; }
  // The driver's own fixed function needs nothing made beforehand.
  void preparePass(const PassState& /*pass*/) override {}

  void matrixMode(MatrixStack stack) override { glMatrixMode(matrixModeOf(stack)); }
  void pushMatrix() override { glPushMatrix(); }
  void popMatrix() override { glPopMatrix(); }
  void loadIdentity() override { glLoadIdentity(); }
  void loadMatrix(const Matrix4& matrix) override { glLoadMatrixf(matrix.m); }
  void multiplyMatrix(const Matrix4& matrix) override { glMultMatrixf(matrix.m); }
  void translate(float x, float y, float z) override { glTranslatef(x, y, z); }
  void rotate(float angleDegrees, float x, float y, float z) override { glRotatef(angleDegrees, x, y, z); }
  void scale(float x, float y, float z) override { glScalef(x, y, z); }
  void perspective(double fovYDegrees, double aspect, double nearDistance, double farDistance) override {
    gluPerspective(fovYDegrees, aspect, nearDistance, farDistance);
  }
  void frustum(double left, double right, double bottom, double top, double nearDistance,
               double farDistance) override {
    glFrustum(left, right, bottom, top, nearDistance, farDistance);
  }
  void ortho2D(double left, double right, double bottom, double top) override {
    gluOrtho2D(left, right, bottom, top);
  }
  void lookAt(double eyeX, double eyeY, double eyeZ, double targetX, double targetY, double targetZ, double upX,
              double upY, double upZ) override {
    gluLookAt(eyeX, eyeY, eyeZ, targetX, targetY, targetZ, upX, upY, upZ);
  }
  Matrix4 matrix(MatrixStack stack) const override {
    Matrix4 top;
    countQueries(1);
    glGetFloatv(matrixReadOf(stack), top.m);
    top.isIdentity = false;
    return top;
  }

  void begin(Primitive primitive) override { glBegin(glPrimitiveMode(primitive)); }
  void end() override { glEnd(); }
  void vertex(float x, float y) override { glVertex2f(x, y); }
  void vertex(float x, float y, float z) override { glVertex3f(x, y, z); }
  void normal(float x, float y, float z) override { glNormal3f(x, y, z); }
  void color(float red, float green, float blue, float alpha) override { glColor4f(red, green, blue, alpha); }
  void texCoord(float s, float t) override { glTexCoord2f(s, t); }
  // The call of the fewest components that carries the value: the driver keeps each unit's
  // coordinate at the size last given, and a unit that grows mid-run is drawn differently.
  void unitTexCoord(int unit, float s, float t, float r, float q) override {
    const GLenum target = static_cast<GLenum>(GL_TEXTURE0 + unit);
    if (q != 1.0f) {
      glMultiTexCoord4f(target, s, t, r, q);
    } else if (r != 0.0f) {
      glMultiTexCoord3f(target, s, t, r);
    } else {
      glMultiTexCoord2f(target, s, t);
    }
  }
  using DrawLayer::color;
  using DrawLayer::normal;
  using DrawLayer::vertex;

  void drawIndexed(Primitive primitive, const VertexArrays& arrays, const uint32_t* indices,
                   int indexCount) override;

  // A handle keeps copies of the arrays and draws them as drawIndexed does, so the pictures are
  // those of drawing from the arrays.
  MeshHandle createMesh(Primitive primitive, const VertexArrays& arrays, const uint32_t* indices,
                        int indexCount) override;
  void drawMesh(MeshHandle mesh) override;
  void releaseMesh(MeshHandle mesh) override { meshes_.erase(mesh); }

  unsigned int createRecordings(int count) override { return glGenLists(count); }
  void beginRecording(unsigned int name) override { glNewList(name, GL_COMPILE); }
  void endRecording() override { glEndList(); }
  void replay(unsigned int name) override { glCallList(name); }
  void releaseRecordings(unsigned int first, int count) override {
    if (first != 0 && count > 0) {
      glDeleteLists(first, count);
    }
  }

  void setLight(const float position[4], const float ambient[4], const float diffuse[4],
                const float specular[4]) override {
    glLightfv(kLight, GL_POSITION, position);
    glLightfv(kLight, GL_AMBIENT, ambient);
    glLightfv(kLight, GL_DIFFUSE, diffuse);
    glLightfv(kLight, GL_SPECULAR, specular);
    glEnable(kLight);
  }
  void setMaterial(const float ambient[4], const float diffuse[4], const float specular[4],
                   const float emission[4]) override {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, emission);
  }

  void bindTexture(int unit, unsigned int texture) override {
    assert(unit >= 0 && unit < kDrawTextureUnits && "texture unit out of range");
    if (unit != 0 && unit >= capabilities_.textureUnits) {
      return;
    }
    platform::bindTexture2D(unit, texture);
  }

  void setViewport(const Viewport& viewport) override {
    viewport_ = viewport;
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
  }
  const Viewport& viewport() const override { return viewport_; }
  void setScissor(const Viewport& box) override { glScissor(box.x, box.y, box.width, box.height); }
  void setClearColor(float red, float green, float blue, float alpha) override {
    clearColor_[0] = red;
    clearColor_[1] = green;
    clearColor_[2] = blue;
    clearColor_[3] = alpha;
    glClearColor(red, green, blue, alpha);
  }
  const float* clearColor() const override { return clearColor_; }
  void clear(bool color, bool depth) override;
  void finish() override { glFinish(); }

  // The fixed function steps aside by itself while a program is in use.
  void programStarted() override {}
  void programEnded() override {}

 private:
  struct KeptArrays {
    Primitive primitive = Primitive::Triangles;
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> texCoords;
    std::vector<uint32_t> indices;
    int vertexCount = 0;
  };

  platform::GLCapabilities capabilities_;
  std::map<MeshHandle, KeptArrays> meshes_;
  MeshHandle nextMesh_ = 1;
  PassState state_;
  Viewport viewport_;
  float clearColor_[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

// Every field reaches the driver on every pass, so a pass is right whatever any earlier code left
// (the driver itself drops a call that changes nothing); the counts say what did change.
void FixedFunctionLayer::applyPass(const PassState& wanted) {
  countStateChanges(static_cast<uint64_t>(changedFields(state_, wanted)));
  setCapability(GL_BLEND, wanted.blend);
  glBlendFunc(glBlendFactor(wanted.blendSource), glBlendFactor(wanted.blendDestination));
  setCapability(GL_DEPTH_TEST, wanted.depthTest);
  glDepthMask(wanted.depthWrite ? GL_TRUE : GL_FALSE);
  setCapability(GL_CULL_FACE, wanted.cullBackFaces);
  setCapability(GL_ALPHA_TEST, wanted.alphaTest);
  glAlphaFunc(GL_GREATER, wanted.alphaAbove);
  setCapability(GL_LIGHTING, wanted.lighting);
  setCapability(GL_COLOR_MATERIAL, wanted.colorMaterial);
  setCapability(GL_SCISSOR_TEST, wanted.scissorTest);
  // Units past the first are selected only while they are set; unit 0 is left active, the one
  // that loading and binding textures use.
  for (int unit = kDrawTextureUnits - 1; unit >= 0; --unit) {
    if (unit >= capabilities_.textureUnits) {
      continue;
    }
    if (capabilities_.multitexture) {
      glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
    }
    setCapability(GL_TEXTURE_2D, wanted.units[unit].enabled);
    setTextureMode(wanted.units[unit].mode);
  }
  state_ = wanted;
}

// A clear reaches the whole viewport's depth whatever the pass: the scissor test and the depth
// mask would hold it back, so both step aside for it.
void FixedFunctionLayer::clear(bool color, bool depth) {
  if (state_.scissorTest) {
    glDisable(GL_SCISSOR_TEST);
  }
  if (depth && !state_.depthWrite) {
    glDepthMask(GL_TRUE);
  }
  glClear((color ? GL_COLOR_BUFFER_BIT : 0u) | (depth ? GL_DEPTH_BUFFER_BIT : 0u));
  if (depth && !state_.depthWrite) {
    glDepthMask(GL_FALSE);
  }
  if (state_.scissorTest) {
    glEnable(GL_SCISSOR_TEST);
  }
}

// Client arrays, locked so the driver transforms the shared vertices once for the whole call.
void FixedFunctionLayer::drawIndexed(Primitive primitive, const VertexArrays& arrays, const uint32_t* indices,
                                     int indexCount) {
  glEnableClientState(GL_VERTEX_ARRAY);
  glVertexPointer(3, GL_FLOAT, 0, arrays.positions);
  if (arrays.normals != nullptr) {
    glEnableClientState(GL_NORMAL_ARRAY);
    glNormalPointer(GL_FLOAT, 0, arrays.normals);
  }
  if (capabilities_.multitexture) {
    glClientActiveTexture(GL_TEXTURE0);
  }
  if (arrays.texCoords != nullptr) {
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, 0, arrays.texCoords);
  }
  const bool lock = arrays.vertexCount > 0 && glLockArraysEXT != nullptr && glUnlockArraysEXT != nullptr;
  if (lock) {
    glLockArraysEXT(0, arrays.vertexCount);
  }
  // The driver copies the arrays it reads at every draw, as a buffer upload would.
  const size_t floatsPerVertex = 3 + (arrays.normals != nullptr ? 3 : 0) + (arrays.texCoords != nullptr ? 2 : 0);
  countUpload(static_cast<size_t>(arrays.vertexCount) * floatsPerVertex * sizeof(float) +
              static_cast<size_t>(indexCount) * sizeof(uint32_t));
  glDrawElements(glPrimitiveMode(primitive), indexCount, GL_UNSIGNED_INT, indices);
  if (lock) {
    glUnlockArraysEXT();
  }
  // No array stays switched on, so a later draw never reads a stale pointer.
  glDisableClientState(GL_TEXTURE_COORD_ARRAY);
  glDisableClientState(GL_NORMAL_ARRAY);
  glDisableClientState(GL_VERTEX_ARRAY);
}

MeshHandle FixedFunctionLayer::createMesh(Primitive primitive, const VertexArrays& arrays, const uint32_t* indices,
                                          int indexCount) {
  if (!meshArraysValid(arrays, indices, indexCount)) {
    return 0;
  }
  const size_t vertexCount = static_cast<size_t>(arrays.vertexCount);
  KeptArrays kept;
  kept.primitive = primitive;
  kept.vertexCount = arrays.vertexCount;
  kept.positions.assign(arrays.positions, arrays.positions + 3 * vertexCount);
  if (arrays.normals != nullptr) {
    kept.normals.assign(arrays.normals, arrays.normals + 3 * vertexCount);
  }
  if (arrays.texCoords != nullptr) {
    kept.texCoords.assign(arrays.texCoords, arrays.texCoords + 2 * vertexCount);
  }
  kept.indices.assign(indices, indices + indexCount);
  const MeshHandle handle = nextMesh_++;
  meshes_[handle] = std::move(kept);
  return handle;
}

void FixedFunctionLayer::drawMesh(MeshHandle mesh) {
  const auto found = meshes_.find(mesh);
  if (found == meshes_.end()) {
    return;
  }
  const KeptArrays& kept = found->second;
  const VertexArrays arrays{kept.positions.data(), kept.normals.empty() ? nullptr : kept.normals.data(),
                            kept.texCoords.empty() ? nullptr : kept.texCoords.data(), kept.vertexCount};
  drawIndexed(kept.primitive, arrays, kept.indices.data(), static_cast<int>(kept.indices.size()));
}

}  // namespace

std::unique_ptr<DrawLayer> createFixedFunctionLayer(const platform::GLCapabilities& capabilities) {
  return std::make_unique<FixedFunctionLayer>(capabilities);
}
