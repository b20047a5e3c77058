// Drawing into textures: one framebuffer object and the surfaces that take turns on it. With
// samples set, each surface is drawn multisampled into a framebuffer of its own and resolved into
// its texture when drawing moves to another surface or leaves the target.
// Every operation that binds the framebuffer binds the window's framebuffer again before it returns,
// except bindFramebuffer and attachTarget.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/picture_shape.h"

struct RenderSurface {
  unsigned int depthBuffer = 0;  // renderbuffer name; 0 when the surface has no depth buffer
  unsigned int texture = 0;      // drawn into; scenes bind it to use the picture
  int width = 0;
  int height = 0;
  unsigned int format = 0;  // internal format as passed to addTarget
  // Multisampled drawing only: the framebuffer drawn into and its colour and depth buffers.
  unsigned int multisampleFramebuffer = 0;
  unsigned int multisampleColour = 0;
  unsigned int multisampleDepth = 0;
};

// Samples per pixel the driver can draw surfaces with, up to `wanted`; 0 when it has no
// multisampled framebuffers.
int multisampleLimit(int wanted);
// Samples per pixel for every surface added from now on, by any target; 0 (the default) draws
// straight into the textures. Start-up sets it once.
void setSurfaceSamples(int samples);

// The depth formats a surface's depth buffer tries, best first; the unsized last one is the last
// resort and is kept whatever the driver reports for it.
inline constexpr unsigned int kDepthFormats[] = {0x81A7, 0x81A6, 0x81A5, 0x1902};
constexpr int kDepthFormatCount = 4;

// What the driver reports after allocating depth storage in one format.
struct DepthStorageReport {
  int width = 0;
  int height = 0;
  int depthBits = 0;
};
using DepthStorageAllocator = std::function<DepthStorageReport(unsigned int format)>;

// Allocates formats in order until the reported size equals width × height; returns the format
// kept and its report in `kept`.
unsigned int chooseDepthFormat(int width, int height, const DepthStorageAllocator& allocate,
                               DepthStorageReport& kept);

// The drawing surface for a drawable of width × height (see surfaceSizeFor), within what the
// driver makes: powers of two where it has no other textures, no side beyond its largest texture.
SurfaceSize drawingSurfaceSize(int drawableWidth, int drawableHeight);
// A surface of another size as this driver makes it: where textures must have sides that are
// powers of two, each side rounded up to one.
SurfaceSize surfaceSizeOnDriver(SurfaceSize wanted);

// The format of a surface that holds a picture (red, green, blue, alpha), for addTarget.
extern const unsigned int kColourSurfaceFormat;

// The log text of a framebuffer status value.
const char* framebufferStatusText(unsigned int status);

class RenderTarget {
 public:
  virtual ~RenderTarget();  // releaseTargets()

  // False, with a log line, when the driver has no framebuffer objects.
  bool createFramebuffer();
  // A colour texture of its own size and format, with its own depth buffer when asked. The
  // surface is checked on this target's framebuffer and refused (−1) unless that is complete.
  int addTarget(int width, int height, unsigned int format, bool withDepth);
  // Logs and returns the status of this target's framebuffer as it stands.
  unsigned int checkStatus();
  void bindFramebuffer();  // only when there is a framebuffer
  void unbindFramebuffer();
  // Puts the surface's texture at colour attachment colourAttachment and its depth buffer, if it
  // has one, at the depth attachment. Out-of-range indexes do nothing.
  void attachTarget(int index, int colourAttachment);
  void setTargetViewport(int index);  // out-of-range indexes do nothing
  // The surface's texture repeats its edge texels when sampled past them, instead of wrapping
  // round to the opposite edge. Out-of-range indexes do nothing.
  void clampEdges(int index);
  // Clears colour, and depth when the surface has a depth buffer, with the current clear values;
  // the viewport is restored. Out-of-range indexes do nothing.
  void clearTarget(int index);
  // Makes the surface again at width × height in its place, with its format and depth; its picture
  // is lost. A surface of that size already is left as it is. False when the driver refused it: the surface then has no texture (0) and is not drawn into.
  bool resizeTarget(int index, int width, int height);
  // Deletes every surface's texture and depth buffer and the framebuffer; a second call does nothing.
  void releaseTargets();
  // Why the framebuffer or the last surface refused was not made, for the owner to report.
  const std::string& lastRefusal() const { return lastRefusal_; }

  unsigned int framebuffer = 0;
  std::vector<RenderSurface> surfaces;

 private:
  bool validIndex(int index) const;
  // Multisampled drawing: copies the surface being drawn into its texture and forgets it.
  void resolveDrawing();
  int drawing_ = -1;  // the surface whose multisampled picture is newer than its texture
  std::string lastRefusal_;
};

RenderTarget& renderTarget();
