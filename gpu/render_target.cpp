#include "gpu/render_target.h"

#include <GL/glew.h>

#include <cassert>
#include <string>

#include "core/debug_log.h"
#include "core/draw_counts.h"
#include "gpu/draw_layer.h"
#include "gpu/off_window_frame.h"
#include "platform/gl_capabilities.h"
#include "platform/gl_binding_record.h"

RenderTarget& renderTarget() {
  static RenderTarget target;
  return target;
}

const unsigned int kColourSurfaceFormat = GL_RGBA;

namespace {

int gSurfaceSamples = 0;

bool isDepthFormat(unsigned int format) {
  for (const unsigned int depthFormat : kDepthFormats) {
    if (format == depthFormat) {
      return true;
    }
  }
  return false;
}

DepthStorageReport allocateDepthStorage(unsigned int format, int width, int height) {
  DepthStorageReport report;
  // ES has neither 32-bit whole-number depth nor unsized depth renderbuffers; asking would only
  // leave an error, so they are passed over there as a size refused.
  const bool esLacks = format == GL_DEPTH_COMPONENT32 || format == GL_DEPTH_COMPONENT;
  if (platform::contextCapabilities().isES() && esLacks) {
    return report;
  }
  glRenderbufferStorage(GL_RENDERBUFFER, format, width, height);
  countQueries(3);
  glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_WIDTH, &report.width);
  glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_HEIGHT, &report.height);
  glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &report.depthBits);
  return report;
}

// A renderbuffer with the best depth format the driver stores at the requested size; leaves no
// renderbuffer bound.
GLuint createDepthBuffer(int width, int height) {
  GLuint name = 0;
  glGenRenderbuffers(1, &name);
  glBindRenderbuffer(GL_RENDERBUFFER, name);
  if (!glIsRenderbuffer(name)) {
    DebugLog::append(kLogFileName, "FBO: IsRenderBuffer failed\r\n");
  }
  DepthStorageReport kept;
  chooseDepthFormat(
      width, height, [width, height](unsigned int format) { return allocateDepthStorage(format, width, height); },
      kept);
  DebugLog::append(kLogFileName, "FBO: depth component %i,%i, %i bits\r\n", kept.width, kept.height, kept.depthBits);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  return name;
}

// A linear-filtered texture with undefined contents; leaves it bound to GL_TEXTURE_2D.
GLuint createSurfaceTexture(int width, int height, unsigned int format) {
  GLuint name = 0;
  glGenTextures(1, &name);
  drawLayer().bindTexture(0, name);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  const bool compatibility = platform::contextCapabilities().hasFixedFunction();
  if (isDepthFormat(format)) {
    // Core and ES contexts have no GL_CLAMP, and ES takes no depth in bytes.
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, GL_DEPTH_COMPONENT,
                 compatibility ? GL_UNSIGNED_BYTE : GL_UNSIGNED_INT, nullptr);
    const GLint wrap = compatibility ? GL_CLAMP : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
  } else {
    // ES wants the rows' layout to match the format asked for; no rows are given either way.
    const bool withAlpha = format == GL_RGBA || format == GL_RGBA8;
    const GLenum rows = !compatibility && withAlpha ? GL_RGBA : GL_RGB;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, rows, GL_UNSIGNED_BYTE, nullptr);
  }
  return name;
}

void attachSurface(const RenderSurface& surface, int colourAttachment) {
  if (surface.texture != 0) {
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + colourAttachment, GL_TEXTURE_2D,
                              surface.texture, 0);
  }
  if (surface.depthBuffer != 0) {
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                 surface.depthBuffer);
  }
}

void detachAll() {
  glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
}

void deleteSurface(const RenderSurface& surface) {
  if (surface.texture != 0) {
    platform::deleteTextures(1, &surface.texture);
  }
  for (const GLuint buffer : {surface.depthBuffer, surface.multisampleColour, surface.multisampleDepth}) {
    if (buffer != 0) {
      glDeleteRenderbuffers(1, &buffer);
    }
  }
  if (surface.multisampleFramebuffer != 0) {
    glDeleteFramebuffers(1, &surface.multisampleFramebuffer);
  }
}

GLuint multisampleBuffer(int samples, GLenum format, int width, int height) {
  GLuint name = 0;
  glGenRenderbuffers(1, &name);
  glBindRenderbuffer(GL_RENDERBUFFER, name);
  glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, format, width, height);
  glBindRenderbuffer(GL_RENDERBUFFER, 0);
  return name;
}

// The multisampled framebuffer the surface is drawn into; false, with everything of it deleted,
// when the driver does not complete it. Leaves the window's framebuffer bound.
bool addMultisampling(RenderSurface& surface, int samples, bool withDepth) {
  surface.multisampleColour = multisampleBuffer(samples, GL_RGBA8, surface.width, surface.height);
  if (withDepth) {
    surface.multisampleDepth = multisampleBuffer(samples, GL_DEPTH_COMPONENT24, surface.width, surface.height);
  }
  glGenFramebuffers(1, &surface.multisampleFramebuffer);
  glBindFramebuffer(GL_FRAMEBUFFER, surface.multisampleFramebuffer);
  glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, surface.multisampleColour);
  if (withDepth) {
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, surface.multisampleDepth);
  }
  const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
  glBindFramebuffer(GL_FRAMEBUFFER, windowFramebuffer());
  if (status == GL_FRAMEBUFFER_COMPLETE) {
    return true;
  }
  DebugLog::append(kLogFileName, "FBO: multisampled surface refused [%s], drawing it without\r\n",
                   framebufferStatusText(status));
  for (const GLuint buffer : {surface.multisampleColour, surface.multisampleDepth}) {
    if (buffer != 0) {
      glDeleteRenderbuffers(1, &buffer);
    }
  }
  glDeleteFramebuffers(1, &surface.multisampleFramebuffer);
  surface.multisampleFramebuffer = surface.multisampleColour = surface.multisampleDepth = 0;
  return false;
}

GLenum logStatus(GLenum status) {
  DebugLog::append(kLogFileName, "FBO creation status[%s] \r\n", framebufferStatusText(status));
  return status;
}

}  // namespace

unsigned int chooseDepthFormat(int width, int height, const DepthStorageAllocator& allocate,
                               DepthStorageReport& kept) {
  for (int i = 0; i < kDepthFormatCount; ++i) {
    kept = allocate(kDepthFormats[i]);
    if (kept.width == width && kept.height == height) {
      return kDepthFormats[i];
    }
  }
  return kDepthFormats[kDepthFormatCount - 1];
}

void setSurfaceSamples(int samples) { gSurfaceSamples = samples; }

int multisampleLimit(int wanted) {
  const platform::GLCapabilities& driver = platform::contextCapabilities();
  if (!driver.multisampleRenderbuffers || !driver.framebufferBlit) {
    return 0;
  }
  const int largest = driver.samples;
  return largest < 2 ? 0 : (wanted < largest ? wanted : largest);
}

namespace {

// A driver that does not name textures of any size refuses them, whatever version it names
// (GL 2.x drivers with the extension left out do so); from GL 3.0 they cannot be left out.
bool texturesNeedPowerOfTwoSides() { return !platform::contextCapabilities().anySizeTextures; }

int largestTextureSide() {
  const int largest = platform::contextCapabilities().largestTextureSide;
  return largest > 0 ? largest : 1024;
}

}  // namespace

SurfaceSize drawingSurfaceSize(int drawableWidth, int drawableHeight) {
  return surfaceSizeFor(drawableWidth, drawableHeight, texturesNeedPowerOfTwoSides(), largestTextureSide());
}

SurfaceSize surfaceSizeOnDriver(SurfaceSize wanted) {
  return texturesNeedPowerOfTwoSides() ? powerOfTwoSides(wanted, largestTextureSide()) : wanted;
}

const char* framebufferStatusText(unsigned int status) {
  switch (status) {
    case GL_INVALID_FRAMEBUFFER_OPERATION:
      return "Invalid Framebuffer operation";
    case GL_FRAMEBUFFER_COMPLETE:
      return "Framebuffer complete";
    case GL_FRAMEBUFFER_INCOMPLETE_ATTACHMENT:
      return "Framebuffer incomplete attachment";
    case GL_FRAMEBUFFER_INCOMPLETE_MISSING_ATTACHMENT:
      return "Framebuffer incomplete missing attachment";
    case GL_FRAMEBUFFER_INCOMPLETE_DIMENSIONS_EXT:
      return "Framebuffer incomplete dimensions";
    case GL_FRAMEBUFFER_INCOMPLETE_FORMATS_EXT:
      return "Framebuffer incomplete formats";
    case GL_FRAMEBUFFER_INCOMPLETE_DRAW_BUFFER:
      return "Framebuffer incomplete draw buffers";
    case GL_FRAMEBUFFER_INCOMPLETE_READ_BUFFER:
      return "Framebuffer incomplete read buffer";
    case GL_FRAMEBUFFER_UNSUPPORTED:
      return "Framebuffer unsupported";
    default:
      return "unknown/not a Framebuffer error code";
  }
}

RenderTarget::~RenderTarget() { releaseTargets(); }

bool RenderTarget::validIndex(int index) const {
  return index >= 0 && static_cast<size_t>(index) < surfaces.size();
}

bool RenderTarget::createFramebuffer() {
  if (!platform::contextCapabilities().framebufferObjects) {
    lastRefusal_ = "the driver has no framebuffer objects";
    DebugLog::append(kLogFileName, "FBO: framebuffer objects are not supported, drawing goes to the window\r\n");
    return false;
  }
  glGenFramebuffers(1, &framebuffer);
  if (framebuffer != 0) {
    // The first bind makes the name a framebuffer object.
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, windowFramebuffer());
  }
  return true;
}

void RenderTarget::clampEdges(int index) {
  if (index < 0 || index >= static_cast<int>(surfaces.size())) {
    return;
  }
  DrawLayer& layer = drawLayer();
  layer.bindTexture(0, surfaces[static_cast<size_t>(index)].texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  layer.bindTexture(0, 0);
}

int RenderTarget::addTarget(int width, int height, unsigned int format, bool withDepth) {
  assert(framebuffer != 0 && "addTarget needs createFramebuffer first");
  if (framebuffer == 0) {
    return -1;
  }
  RenderSurface surface;
  surface.width = width;
  surface.height = height;
  surface.format = format;
  if (withDepth) {
    surface.depthBuffer = createDepthBuffer(width, height);
  }
  surface.texture = createSurfaceTexture(width, height, format);

  // The status that matters is this framebuffer's with the new surface in place, not that of
  // whichever framebuffer happens to be bound. The surface stays attached when it is kept.
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  if (!withDepth) {
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, 0);
  }
  attachSurface(surface, 0);
  const GLenum status = logStatus(glCheckFramebufferStatus(GL_FRAMEBUFFER));
  if (status != GL_FRAMEBUFFER_COMPLETE) {
    lastRefusal_ = std::string("a drawing surface was refused: ") + framebufferStatusText(status);
    detachAll();
    glBindFramebuffer(GL_FRAMEBUFFER, windowFramebuffer());
    deleteSurface(surface);
    return -1;
  }
  glBindFramebuffer(GL_FRAMEBUFFER, windowFramebuffer());
  if (gSurfaceSamples > 1) {
    addMultisampling(surface, gSurfaceSamples, withDepth);
  }
  surfaces.push_back(surface);
  return static_cast<int>(surfaces.size()) - 1;
}

unsigned int RenderTarget::checkStatus() {
  if (framebuffer == 0) {
    const bool available = platform::contextCapabilities().framebufferObjects;
    return logStatus(available ? glCheckFramebufferStatus(GL_FRAMEBUFFER) : GL_FRAMEBUFFER_UNSUPPORTED);
  }
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  const GLenum status = logStatus(glCheckFramebufferStatus(GL_FRAMEBUFFER));
  glBindFramebuffer(GL_FRAMEBUFFER, windowFramebuffer());
  return status;
}

void RenderTarget::bindFramebuffer() {
  if (framebuffer != 0) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  }
}

void RenderTarget::unbindFramebuffer() {
  if (framebuffer != 0) {
    resolveDrawing();
    glBindFramebuffer(GL_FRAMEBUFFER, windowFramebuffer());
  }
}

void RenderTarget::attachTarget(int index, int colourAttachment) {
  if (framebuffer == 0) {
    return;
  }
  resolveDrawing();
  // Without a surface the target's own framebuffer is bound again, with nothing new attached.
  if (!validIndex(index)) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    return;
  }
  const RenderSurface& surface = surfaces[static_cast<size_t>(index)];
  if (surface.multisampleFramebuffer != 0) {
    glBindFramebuffer(GL_FRAMEBUFFER, surface.multisampleFramebuffer);
    drawing_ = index;
    return;
  }
  attachSurface(surface, colourAttachment);
}

void RenderTarget::resolveDrawing() {
  if (!validIndex(drawing_)) {
    drawing_ = -1;
    return;
  }
  const RenderSurface& surface = surfaces[static_cast<size_t>(drawing_)];
  drawing_ = -1;
  glBindFramebuffer(GL_READ_FRAMEBUFFER, surface.multisampleFramebuffer);
  glBindFramebuffer(GL_DRAW_FRAMEBUFFER, framebuffer);
  glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, surface.texture, 0);
  glBlitFramebuffer(0, 0, surface.width, surface.height, 0, 0, surface.width, surface.height, GL_COLOR_BUFFER_BIT,
                    GL_NEAREST);
  glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
}

void RenderTarget::setTargetViewport(int index) {
  if (!validIndex(index)) {
    return;
  }
  const RenderSurface& surface = surfaces[static_cast<size_t>(index)];
  drawLayer().setViewport(Viewport{0, 0, surface.width, surface.height});
}

void RenderTarget::clearTarget(int index) {
  if (!validIndex(index) || framebuffer == 0) {
    return;
  }
  const RenderSurface& surface = surfaces[static_cast<size_t>(index)];
  DrawLayer& layer = drawLayer();
  const Viewport previous = layer.viewport();
  bindFramebuffer();
  attachTarget(index, 0);
  layer.setViewport(Viewport{0, 0, surface.width, surface.height});
  layer.clear(true, surface.depthBuffer != 0);
  // A multisampled surface's cleared picture goes into its texture too.
  resolveDrawing();
  glBindFramebuffer(GL_FRAMEBUFFER, windowFramebuffer());
  layer.setViewport(previous);
}

bool RenderTarget::resizeTarget(int index, int width, int height) {
  if (!validIndex(index) || framebuffer == 0) {
    return false;
  }
  const size_t place = static_cast<size_t>(index);
  if (surfaces[place].width == width && surfaces[place].height == height) {
    return true;
  }
  drawing_ = -1;
  const unsigned int format = surfaces[place].format;
  const bool withDepth = surfaces[place].depthBuffer != 0;
  deleteSurface(surfaces[place]);
  surfaces[place] = RenderSurface();
  surfaces[place].format = format;
  // Made at the end of the list, then moved into the place it had.
  const int made = addTarget(width, height, format, withDepth);
  if (made < 0) {
    return false;
  }
  surfaces[place] = surfaces.back();
  surfaces.pop_back();
  return true;
}

void RenderTarget::releaseTargets() {
  drawing_ = -1;
  for (const RenderSurface& surface : surfaces) {
    deleteSurface(surface);
  }
  surfaces.clear();
  if (framebuffer != 0) {
    glDeleteFramebuffers(1, &framebuffer);
    framebuffer = 0;
  }
}
