#include "tests/support/layer_pictures.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdlib>

#include "platform/gl_entry_points.h"
#include "tests/support/gl_test_context.h"

namespace {

// A framebuffer of renderbuffers, which every kind of context has, read back with glReadPixels.
class LayerTarget {
 public:
  LayerTarget() {
    glGenFramebuffers(1, &framebuffer_);
    glGenRenderbuffers(2, renderbuffers_);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[0]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, kSide, kSide);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffers_[1]);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT16, kSide, kSide);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, renderbuffers_[0]);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, renderbuffers_[1]);
    complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
  }
  ~LayerTarget() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer_);
    glDeleteRenderbuffers(2, renderbuffers_);
  }
  bool complete() const { return complete_; }
  std::vector<Pixel> read() const {
    std::vector<Pixel> pixels(static_cast<size_t>(kSide) * kSide);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, kSide, kSide, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

 private:
  GLuint framebuffer_ = 0;
  GLuint renderbuffers_[2] = {0, 0};
  bool complete_ = false;
};

}  // namespace

std::vector<Pixel> drawScene(DrawLayer& layer, const Scene& scene) {
  LayerTarget target;
  EXPECT_TRUE(target.complete());
  const Viewport before = layer.viewport();
  layer.setViewport(Viewport{0, 0, kSide, kSide});
  layer.applyPass(PassState());
  layer.setClearColor(0.0f, 0.0f, 0.0f, 0.0f);
  layer.clear(true, true);
  for (const MatrixStack stack : {MatrixStack::Texture, MatrixStack::Projection, MatrixStack::ModelView}) {
    layer.matrixMode(stack);
    layer.loadIdentity();
  }
  layer.color(1.0f, 1.0f, 1.0f, 1.0f);
  scene(layer);
  layer.finish();
  std::vector<Pixel> pixels = target.read();
  layer.applyPass(PassState());
  for (int unit = 0; unit < kDrawTextureUnits; ++unit) {
    layer.bindTexture(unit, 0);
  }
  layer.setViewport(before);
  return pixels;
}

namespace {

struct Difference {
  int pixels = 0;   // pixels with a channel off by more than the tolerance
  int largest = 0;  // the largest channel difference
};

Difference differenceOf(const std::vector<Pixel>& a, const std::vector<Pixel>& b, int tolerance) {
  Difference difference;
  for (size_t index = 0; index < a.size() && index < b.size(); ++index) {
    const int channels[4] = {std::abs(a[index].r - b[index].r), std::abs(a[index].g - b[index].g),
                             std::abs(a[index].b - b[index].b), std::abs(a[index].a - b[index].a)};
    int largest = 0;
    for (const int channel : channels) {
      largest = std::max(largest, channel);
    }
    difference.largest = std::max(difference.largest, largest);
    difference.pixels += largest > tolerance ? 1 : 0;
  }
  return difference;
}

int coloredPixels(const std::vector<Pixel>& pixels) {
  int count = 0;
  for (const Pixel& pixel : pixels) {
    count += (pixel.r | pixel.g | pixel.b) != 0 ? 1 : 0;
  }
  return count;
}

constexpr int kTolerance = 2;
constexpr int kEdgePixels = 8;

}  // namespace

std::vector<Pixel> fixedFunctionPicture(const Scene& scene) {
  std::unique_ptr<DrawLayer> layer = createFixedFunctionLayer(platform::contextCapabilities());
  return drawScene(*layer, scene);
}

std::vector<Pixel> shaderPicture(const Scene& scene) {
  std::unique_ptr<DrawLayer> layer = createShaderLayer(platform::contextCapabilities());
  EXPECT_NE(layer, nullptr) << "no shader back end on " << platform::contextCapabilities().versionText;
  return layer != nullptr ? drawScene(*layer, scene) : std::vector<Pixel>();
}

void expectSamePicture(const std::vector<Pixel>& expected, const std::vector<Pixel>& got, const char* what) {
  ASSERT_EQ(got.size(), expected.size()) << what;
  EXPECT_GT(coloredPixels(expected), 0) << what << ": the reference is empty";
  const Difference difference = differenceOf(expected, got, kTolerance);
  EXPECT_LE(difference.pixels, kEdgePixels) << what << ": largest difference " << difference.largest;
}

void expectBackEndsAgree(const Scene& scene, const char* what) {
  expectSamePicture(fixedFunctionPicture(scene), shaderPicture(scene), what);
}


OtherContext::OtherContext(platform::GLContextKind kind) : saved_(platform::contextCapabilities()) {
  std::string error;
  window_ = platform::createWindow("tests", kSide, kSide, 32, false, error);
  context_ = window_ != nullptr ? platform::createGLContextOfKind(window_, kind, false, error) : nullptr;
  ready_ = context_ != nullptr && platform::makeCurrent(window_, context_) && platform::loadGLEntryPoints(error);
  failure_ = error;
  if (ready_) {
    platform::setGLCapabilities(platform::readGLCapabilities(kind));
  }
}

OtherContext::~OtherContext() {
  if (context_ != nullptr) {
    platform::releaseCurrent();
    platform::deleteGLContext(context_);
  }
  platform::destroyWindow(window_);
  ensureGLContext();
  std::string problem;
  platform::loadGLEntryPoints(problem);
  platform::setGLCapabilities(saved_);
}
