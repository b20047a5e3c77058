// Frames of a fixed size drawn off the window: a capture keeps the size it started with while the
// window changes. The scenes draw into it as into the window; it is then shown in the window, scaled.
// Invariant: while one is bound, every pass that would draw into the window draws into it instead.
#pragma once

// The framebuffer that stands for the window: 0 (the window itself) unless an off-window frame is
// bound. The drawing surfaces bind it again when a pass leaves them.
unsigned int windowFramebuffer();

class OffWindowFrame {
 public:
  OffWindowFrame() = default;
  OffWindowFrame(const OffWindowFrame&) = delete;
  OffWindowFrame& operator=(const OffWindowFrame&) = delete;
  ~OffWindowFrame();  // release()

  // A colour and depth buffer of width × height, with as many depth bits as the window has. False,
  // with nothing made, where the driver has no framebuffer objects or cannot copy between them.
  bool create(int width, int height);
  // From now on the frames are drawn here: it stands for the window.
  void bind();
  // Copies the frame into the window, scaled to fit with black bars, and binds the frame again.
  void showIn(int windowWidth, int windowHeight);
  // The window stands for itself again; a second call does nothing.
  void release();

  bool made() const { return framebuffer_ != 0; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  unsigned int framebuffer_ = 0;
  unsigned int colour_ = 0;
  unsigned int depth_ = 0;
  int width_ = 0;
  int height_ = 0;
};
