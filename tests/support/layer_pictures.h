// Pictures drawn through a drawing layer for comparing its back ends: a scene drawn on a small
// target of renderbuffers (which every kind of context has) and read back, and a context of
// another kind to draw it on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "gpu/draw_layer.h"
#include "platform/native_window.h"
#include "tests/support/offscreen_surface.h"

using Scene = std::function<void(DrawLayer&)>;
// The side of every picture, in pixels.
constexpr int kSide = 64;

// The scene on a cleared target with identity matrices; the layer's pass state and textures are
// back at their defaults afterwards, so the context is as the scene found it. Bottom row first.
std::vector<Pixel> drawScene(DrawLayer& layer, const Scene& scene);
// Through a layer of each back end made for the context that is current and its record.
std::vector<Pixel> fixedFunctionPicture(const Scene& scene);
std::vector<Pixel> shaderPicture(const Scene& scene);

// Within one step of 8-bit rounding everywhere, and nowhere more than a few edge pixels apart; the
// expected picture must show something.
void expectSamePicture(const std::vector<Pixel>& expected, const std::vector<Pixel>& got, const char* what);
void expectBackEndsAgree(const Scene& scene, const char* what);

// A hidden window of its own with a context of the kind, current while this lives, with the
// capabilities record of that context; afterwards the shared test context and its record are back.
class OtherContext {
 public:
  explicit OtherContext(platform::GLContextKind kind);
  ~OtherContext();
  OtherContext(const OtherContext&) = delete;
  OtherContext& operator=(const OtherContext&) = delete;

  bool ready() const { return ready_; }
  const std::string& failure() const { return failure_; }

 private:
  platform::GLCapabilities saved_;
  platform::NativeWindow* window_ = nullptr;
  platform::GLContextHandle context_ = nullptr;
  bool ready_ = false;
  std::string failure_;
};
