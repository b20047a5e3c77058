// The program's spine, in four sections: window messages, start-up, the main loop, and shutdown
// with the exit status.
#include "app/program.h"


#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <thread>
#include <vector>

#include "app/benchmark.h"
#include "app/frame_capture.h"
#include "app/gl_window.h"
#include "app/presentation.h"
#include "app/resource_folder.h"
#include "app/scripted_keys.h"
#include "app/video_output.h"
#include "audio/sound_player.h"
#include "core/debug_log.h"
#include "core/effect_status.h"
#include "core/input_state.h"
#include "core/program_name.h"
#include "core/random.h"
#include "core/surface_scale_controller.h"
#include "gpu/bitmap_font.h"
#include "gpu/draw_layer.h"
#include "gpu/gl_debug_report.h"
#include "gpu/off_window_frame.h"
#include "gpu/time_overlay.h"
#include "gpu/outline_font.h"
#include "gpu/render_target.h"
#include "gpu/shader_manager.h"
#include "gpu/texture_manager.h"
#include "platform/gl_capabilities.h"
#include "platform/message_box.h"
#include "platform/stop_signals.h"
#include "world/model_cache.h"

namespace {

constexpr char kWindowTitle[] = "Game";
constexpr char kMusicFile[] = "Vallomere.mp3";
// How long the loop sleeps at a time while the window is minimised and nothing is drawn.
constexpr int kMinimisedWaitMs = 50;
// The frame rate plain play keeps to where the display's own rate is not known.
constexpr int kAssumedRefreshHertz = 60;

GLWindow& presentationWindow() {
  static GLWindow window;
  return window;
}

bool gLoop = false;
bool gOverlayShown = false;
// Playback changes asked for by keys, in the order the keys came; carried out before a frame.
std::deque<PlaybackRequest> gPendingRequests;
// Set for a benchmark run: every frame is recorded.
BenchmarkRecord* gBenchmark = nullptr;
ScriptedKeyPlayer gScriptedKeys;
// Set for a --gl-debug run: the GL's messages and errors are gathered.
GLDebugReport* gGLDebug = nullptr;

// The largest difference seen between a frame's time and the music heard as it starts, in seconds;
// negative when the music was never the clock.
double gLargestMusicGap = -1.0;
// The window's title says how far a long jump has come.
bool gTitleShowsJump = false;

void measureMusicGap(float frameSeconds) {
  double heard = 0.0;
  if (soundPlayer().musicPosition(heard)) {
    const double gap = std::fabs(heard - static_cast<double>(frameSeconds));
    gLargestMusicGap = gap > gLargestMusicGap ? gap : gLargestMusicGap;
  }
}

// A jump that takes a while shows in the window's title how far it has come, since the window
// shows no new frame meanwhile.
void showJumpProgress(float doneShare) {
  char title[64];
  std::snprintf(title, sizeof title, "%s (jumping: %d %%)", kWindowTitle, static_cast<int>(doneShare * 100.0f));
  platform::setWindowTitle(presentationWindow().window, title);
  gTitleShowsJump = true;
}

void endJumpProgress() {
  if (gTitleShowsJump) {
    platform::setWindowTitle(presentationWindow().window, kWindowTitle);
    gTitleShowsJump = false;
  }
}

// A key going down or up through the window procedure, as the window would send it.
void sendKey(const KeyChange& change) {
  platform::WindowMessage message;
  message.type = change.down ? platform::MessageType::KeyDown : platform::MessageType::KeyUp;
  message.wParam = change.virtualKey;
  windowProcedure(message);
}

// Frames per second over the last whole second, for the overlay.
struct FrameRateMeter {
  std::chrono::steady_clock::time_point since = std::chrono::steady_clock::now();
  int frames = 0;
  float framesPerSecond = 0.0f;

  void countFrame(std::chrono::steady_clock::time_point now) {
    ++frames;
    const double seconds = std::chrono::duration<double>(now - since).count();
    if (seconds >= 1.0) {
      framesPerSecond = static_cast<float>(frames / seconds);
      frames = 0;
      since = now;
    }
  }
};

FrameCapture& frameCapture() {
  static FrameCapture capture;
  return capture;
}

// A capture keeps the drawable's size at start-up: once the window's size differs, the frames are
// drawn off the window at that size and shown in the window, scaled; the window's own size is
// kept here for that.
OffWindowFrame& offWindowFrame() {
  static OffWindowFrame frame;
  return frame;
}
int gWindowWidth = 0;
int gWindowHeight = 0;

// True when the capture keeps the presentation at its size; the window is then only shown into.
bool keepCaptureSize(int windowWidth, int windowHeight) {
  FrameCapture& capture = frameCapture();
  const InputState& input = inputState();
  if (!capture.capturing() ||
      (!offWindowFrame().made() && windowWidth == input.viewportWidth && windowHeight == input.viewportHeight)) {
    return false;
  }
  gWindowWidth = windowWidth;
  gWindowHeight = windowHeight;
  if (offWindowFrame().made()) {
    return true;
  }
  if (!offWindowFrame().create(input.viewportWidth, input.viewportHeight)) {
    capture.abandon("the window's size changed and the driver cannot draw frames off the window");
    return false;
  }
  offWindowFrame().bind();
  DebugLog::append(kLogFileName,
                   "Capture: the window is now %d x %d and no longer matches the capture; its frames stay %d x %d, "
                   "drawn off the window\r\n",
                   windowWidth, windowHeight, input.viewportWidth, input.viewportHeight);
  return true;
}

uint16_t lowWord(uint32_t value) { return static_cast<uint16_t>(value & 0xffffu); }

uint16_t highWord(uint32_t value) { return static_cast<uint16_t>(value >> 16); }

void setKey(uint32_t code, uint8_t down) {
  if (code < 256) {
    inputState().keyState[code] = down;
  }
}

}  // namespace

// Window messages

namespace {

// The drawable's height as the program keeps it: a zero height (a window rolled up to its title
// bar) counts as 1, so that no aspect ratio divides by zero. Start-up and size messages both use it.
int drawableHeight(int pixels) { return pixels < 1 ? 1 : pixels; }

}  // namespace

long windowProcedure(const platform::WindowMessage& message) {
  InputState& input = inputState();
  switch (message.type) {
    case platform::MessageType::Size: {
      const int width = lowWord(message.lParam);
      const int height = drawableHeight(highWord(message.lParam));
      if (keepCaptureSize(width, height)) {
        return 0;
      }
      input.viewportWidth = width;
      input.viewportHeight = height;
      // Before the context is made there is nothing to set: the layer starts from the context's
      // own viewport, the window's size.
      if (hasDrawLayer()) {
        drawLayer().setViewport(Viewport{0, 0, width, height});
      }
      return 0;
    }
    case platform::MessageType::Activate:
      input.appActive = highWord(message.wParam) == 0 ? 1 : 0;
      return 0;
    case platform::MessageType::Close:
      platform::postQuitMessage();
      return 0;
    case platform::MessageType::KeyDown:
      setKey(message.wParam, 1);
      if (message.wParam == kKeyEscape) {
        platform::postQuitMessage();
      } else if (message.wParam == kKeyF11 || (message.wParam == kKeyReturn && input.keyState[kKeyAlt] == 1)) {
        presentationWindow().toggleFullScreen();
      } else if (message.wParam == kKeyF1) {
        gOverlayShown = !gOverlayShown;
      } else if (requestForKey(message.wParam) != PlaybackRequest::None) {
        gPendingRequests.push_back(requestForKey(message.wParam));
      }
      return 0;
    case platform::MessageType::KeyUp:
      setKey(message.wParam, 0);
      return 0;
    case platform::MessageType::MouseMove:
      // Positions are signed: a drag past the window's left or top edge goes below 0.
      input.mouseX = static_cast<int16_t>(lowWord(message.lParam));
      input.mouseY = static_cast<int16_t>(highWord(message.lParam));
      return 0;
    case platform::MessageType::LButtonDown:
      input.leftButton = 1;
      return 0;
    case platform::MessageType::LButtonUp:
      input.leftButton = 0;
      return 0;
    case platform::MessageType::RButtonDown:
      input.rightButton = 1;
      return 0;
    case platform::MessageType::RButtonUp:
      input.rightButton = 0;
      return 0;
    case platform::MessageType::Quit:
      return 0;
  }
  return 0;
}

// Start-up

namespace {

// The drawable's size as the drawing surfaces were last made for it, and the size they were made at.
int gSurfacesWidth = 0;
int gSurfacesHeight = 0;
SurfaceSize gSurfaceSize;

// The one owner of the drawing surfaces' size. Live play lets it go from the full size for the
// drawable down to the composed frame's surfaces while frames come too slowly; every other run
// gives it the full size alone.
SurfaceScaleController gSurfaceScale;
bool gSurfacesFollowFrameTime = false;
// The log has said that the window's own pixels alone miss the target at this drawable's size.
bool gToldFloorMisses = false;

double steadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// The display's frame period, or that of kAssumedRefreshHertz where its rate is not known.
double displayFramePeriod() {
  const int hertz = platform::displayRefreshRate(presentationWindow().window);
  return 1.0 / (hertz > 0 ? hertz : kAssumedRefreshHertz);
}

// The sizes the surfaces may take for a drawable of width × height, starting at the full size.
void beginSurfaceSizing(int width, int height) {
  const SurfaceSize full = drawingSurfaceSize(width, height);
  const SurfaceSize floor = gSurfacesFollowFrameTime ? drawingSurfaceSize(kComposedWidth, kComposedHeight) : full;
  gSurfaceScale.begin(full, floor, displayFramePeriod(), steadySeconds());
  gToldFloorMisses = false;
  if (gSurfaceScale.levelCount() > 1) {
    DebugLog::append(kLogFileName,
                     "Surfaces: %d x %d for the %d x %d drawable, smaller down to %d x %d while frames take "
                     "longer than %.1f ms\r\n",
                     full.width, full.height, width, height, floor.width, floor.height,
                     gSurfaceScale.targetFrameSeconds() * 1000.0);
  } else {
    DebugLog::append(kLogFileName, "Surfaces: %d x %d for the %d x %d drawable, kept at that size\r\n", full.width,
                     full.height, width, height);
  }
}

// The drawing surfaces follow the drawable, and the size chosen for them: they are made again when
// either has changed.
void followDrawableSize() {
  const InputState& input = inputState();
  const bool drawableChanged = input.viewportWidth != gSurfacesWidth || input.viewportHeight != gSurfacesHeight;
  if (drawableChanged) {
    gSurfacesWidth = input.viewportWidth;
    gSurfacesHeight = input.viewportHeight;
    beginSurfaceSizing(gSurfacesWidth, gSurfacesHeight);
  }
  const SurfaceSize size = surfaceSizeOnDriver(gSurfaceScale.size());
  if (!drawableChanged && size.width == gSurfaceSize.width && size.height == gSurfaceSize.height) {
    return;
  }
  gSurfaceSize = size;
  RenderTarget& target = renderTarget();
  if (target.framebuffer != 0 && !target.surfaces.empty()) {
    // Without its surface the landscape is drawn straight into the window.
    if (!target.resizeTarget(0, size.width, size.height)) {
      target.releaseTargets();
    }
  }
  presentation().scenes.resizeSurfacesAll(gSurfacesWidth, gSurfacesHeight, size);
}

// One frame drawn in frameSeconds, without the wait for the next one: in live play, the size may
// change for the next frame, and each change is logged with what led to it.
void measureFrame(double frameSeconds, float pictureSeconds) {
  if (!gSurfacesFollowFrameTime) {
    return;
  }
  const bool changed = gSurfaceScale.frameDone(steadySeconds(), frameSeconds);
  if (gSurfaceScale.missesTargetAtFloor() && !gToldFloorMisses) {
    gToldFloorMisses = true;
    DebugLog::append(kLogFileName,
                     "Surfaces: at their smallest, %d x %d, frames still took %.1f ms at %.2f s, more than the %.1f ms "
                     "aimed at: what is drawn at the %d x %d window's own size is too slow for it\r\n",
                     gSurfaceScale.size().width, gSurfaceScale.size().height,
                     gSurfaceScale.lastMeasuredFrameSeconds() * 1000.0, static_cast<double>(pictureSeconds),
                     gSurfaceScale.targetFrameSeconds() * 1000.0, gSurfacesWidth, gSurfacesHeight);
  }
  if (!changed) {
    return;
  }
  const SurfaceSize size = gSurfaceScale.size();
  DebugLog::append(kLogFileName,
                   "Surfaces: %d x %d at %.2f s, frames took %.1f ms, aiming at %.1f ms\r\n", size.width,
                   size.height, static_cast<double>(pictureSeconds), gSurfaceScale.measuredFrameSeconds() * 1000.0,
                   gSurfaceScale.targetFrameSeconds() * 1000.0);
}

// Multisampled drawing where the driver has it; otherwise one line says so and the run goes on
// without (or with fewer samples).
void chooseSurfaceSamples(int wanted) {
  if (wanted <= 0) {
    return;
  }
  const int samples = multisampleLimit(wanted);
  if (samples < wanted) {
    std::fprintf(stderr, "%s: --msaa %d: %s\n", kPresentationName, wanted,
                 samples == 0 ? "the driver offers no multisampled drawing, playing without it"
                              : ("the driver draws at most " + std::to_string(samples) + " samples per pixel, using them")
                                    .c_str());
  }
  DebugLog::append(kLogFileName, "Surfaces: %d samples per pixel\r\n", samples);
  setSurfaceSamples(samples);
}

// Plain play waits for the display (adaptive where the driver has it, so a late frame is shown at
// once); a benchmark never waits, so its figures are the frames' own cost.
void choosePacing(bool benchmark) {
  if (benchmark) {
    if (!platform::setSwapInterval(0)) {
      DebugLog::append(kLogFileName, "Frames: the driver would not stop waiting for the display\r\n");
    }
    return;
  }
  if (!platform::setSwapInterval(-1) && !platform::setSwapInterval(1)) {
    DebugLog::append(kLogFileName, "Frames: the driver would not wait for the display\r\n");
  }
}

// One log line says what the driver gave and which effects it lets run; an effect that is off is
// also told on stderr, so the user learns it without opening the log.
void reportDriverAndEffects() {
  const platform::GLCapabilities& driver = platform::contextCapabilities();
  std::string effects;
  for (int index = 0; index < kEffectCount; ++index) {
    const Effect effect = static_cast<Effect>(index);
    effects += std::string(index == 0 ? "" : ", ") + effectName(effect) + (effectOn(effect) ? " on" : " off");
    if (!effectOn(effect)) {
      std::fprintf(stderr, "%s: %s off: %s\n", kPresentationName, effectName(effect),
                   effectOffReason(effect).c_str());
    }
  }
  DebugLog::append(kLogFileName, "GL: version %s, renderer %s, shading language %s; %s\r\n",
                   driver.versionText.c_str(), driver.renderer.c_str(),
                   driver.shadingLanguageText.empty() ? "none" : driver.shadingLanguageText.c_str(),
                   effects.c_str());
}

}  // namespace

bool startUp(const AppOptions& options) {
  placeLog();
  // Without its files the presentation would only show a box for each of them.
  ResourcePaths paths;
  if (!findResourcePaths(paths)) {
    return false;
  }
  pointLoadersAt(paths);
  InputState& input = inputState();
  input.appActive = 1;
  Presentation& show = presentation();
  soundPlayer().timer = &show.clock;
  input.clearKeys();
  seedRandom(options.seedGiven ? options.seed : static_cast<unsigned int>(std::time(nullptr)));
  gLoop = options.loop;
  show.endSeconds = options.endSeconds;
  show.fixedStepSeconds = options.fixedStepSeconds;
  if (options.fixedStepRate > 0) {
    show.clock.setTickSource(frameCountTicks(options.fixedStepRate));
  } else if (options.fixedStepSeconds > 0.0f) {
    show.clock.setTickSource(fixedStepTicks(options.fixedStepSeconds));
  }
  if (!frameCapture().begin(options)) {
    return false;
  }
  const EnvironmentSetting keysSetting = scriptedKeysSetting();
  if (const char* script = keysSetting.value) {
    std::string problem;
    std::vector<ScriptedKey> keys;
    if (!parseScriptedKeys(script, keys, problem)) {
      std::fprintf(stderr, "%s: %s: '%s' is not FRAME:KEY or FRAME:KEY:FRAMES, no keys are played\n",
                   kPresentationName, keysSetting.name, problem.c_str());
    }
    gScriptedKeys.load(keys);
  }
  DebugLog::append(kLogFileName, "-- Starting -- \r\n");

  GLWindow& window = presentationWindow();
  window.fullScreen = !options.windowed && !options.desktop;
  window.desktop = options.desktop && !options.windowed;
  window.debugContext = options.debugGL;
  window.contextKindGiven = options.contextKindGiven;
  window.contextKind = options.contextKind;
  // The composed 800 x 600, or the size asked for a window (and for drawing off-screen).
  const bool sizeGiven = options.windowed && options.frameWidth > 0;
  if (options.offScreen) {
    platform::drawOffScreen();
  }
  if (!window.create(kWindowTitle, sizeGiven ? options.frameWidth : 800, sizeGiven ? options.frameHeight : 600, 32,
                     &windowProcedure)) {
    return false;
  }
  DebugLog::append(kLogFileName, "Reading %s and the shader files from %s\r\n", kDataFolder,
                   resourceFolderDescription(paths).c_str());

  if (gGLDebug != nullptr) {
    gGLDebug->begin();
  }
  choosePacing(options.benchmark);
  chooseSurfaceSamples(options.msaaSamples);
  // The drawable as it is now; the size message that follows says the same.
  int drawableRows = 0;
  platform::drawableSize(window.window, input.viewportWidth, drawableRows);
  input.viewportHeight = drawableHeight(drawableRows);
  gSurfacesWidth = input.viewportWidth;
  gSurfacesHeight = input.viewportHeight;
  gSurfacesFollowFrameTime = surfacesFollowFrameTime(options);
  beginSurfaceSizing(gSurfacesWidth, gSurfacesHeight);

  bitmapFont().createBitmapFont("Arial Black", 36);
  outlineFont().createOutlineFont("Arial Black", 24, 0.2f);

  ShaderManager& shaders = shaderManager();
  shaders.setupPerPixelLighting();
  const float materialColours[9] = {0.1f, 0.1f, 0.1f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
  shaders.setMaterialColours(materialColours);
  shaders.setShininessAndAttenuation(3.0f, 800.0f, 2.2f);

  show.clock.reset();
  composePresentation(show);

  // The outdoor scene draws its world into this surface and lays it over the window.
  gSurfaceSize = surfaceSizeOnDriver(gSurfaceScale.size());
  renderTarget().createFramebuffer();
  renderTarget().addTarget(gSurfaceSize.width, gSurfaceSize.height, kColourSurfaceFormat, true);

  reportDriverAndEffects();

  // A missing or undecodable track leaves the presentation silent. The music is started as the
  // tracked playback, so that the frames can keep to what is heard.
  if (!options.silent) {
    soundPlayer().initSound();
    soundPlayer().loadSound(1, kMusicFile, false);
    soundPlayer().playFrom(0, 0.0);
  }

  show.placeLight();
  show.clock.reset();
  show.keepStart();
  show.reportJumpProgress = &showJumpProgress;
  return true;
}

// Main loop

namespace {

// Minimised, nothing is drawn and the loop sleeps. Following the clock, time goes on with the
// music and the run still ends at its end; with a fixed step the presentation waits, so that a
// capture loses no frame and every screenshot is taken at its time.
void idleWhileMinimised(Presentation& show) {
  if (show.pastEnd()) {
    platform::postQuitMessage();
    return;
  }
  platform::waitForMessage(kMinimisedWaitMs);
  if (show.fixedStepSeconds <= 0.0f) {
    show.moveClockOn();
  }
}

// Plain play shows no more frames than the display can: where the driver does not wait for the
// display (or a frozen last picture costs nothing to draw), the loop sleeps out the rest of the
// display's frame. Fixed-step runs and the benchmark go as fast as they can.
class FramePacer {
 public:
  explicit FramePacer(double shortestFrameSeconds) : shortest_(shortestFrameSeconds) {}
  void waitForNextFrame() {
    if (shortest_ <= 0.0) {
      return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (due_ > now) {
      std::this_thread::sleep_until(due_);
    }
    due_ = std::max(now, due_) + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                      std::chrono::duration<double>(shortest_));
  }

 private:
  double shortest_ = 0.0;
  std::chrono::steady_clock::time_point due_ = std::chrono::steady_clock::now();
};

double shortestFramePeriod(const Presentation& show) {
  if (gBenchmark != nullptr || show.fixedStepSeconds > 0.0f) {
    return 0.0;
  }
  return displayFramePeriod();
}

}  // namespace

long mainLoop() {
  InputState& input = inputState();
  Presentation& show = presentation();
  FrameRateMeter meter;
  FramePacer pacer(shortestFramePeriod(show));
  long framesDrawn = 0;
  KeyChange scriptedChange;
  for (;;) {
    platform::WindowMessage message;
    if (platform::peekMessage(message)) {
      if (message.type == platform::MessageType::Quit) {
        break;
      }
      platform::dispatchMessage(message);
      continue;
    }
    while (gScriptedKeys.nextChange(framesDrawn, scriptedChange)) {
      sendKey(scriptedChange);
    }
    followDrawableSize();
    if (!gPendingRequests.empty() || (gLoop && show.pastEnd())) {
      // A jump's frames and a pause say nothing of what drawing a frame costs.
      gSurfaceScale.restartMeasuring(steadySeconds());
    }
    while (!gPendingRequests.empty()) {
      show.apply(gPendingRequests.front());
      gPendingRequests.pop_front();
    }
    if (gLoop && show.pastEnd()) {
      show.seek(0.0f);
    }
    endJumpProgress();
    if (input.keyState[kKeyEscape] == 1 || platform::stopSignal() != 0) {
      break;
    }
    if (input.appActive != 1) {
      idleWhileMinimised(show);
      continue;
    }
    if (!show.paused()) {
      if (show.fixedStepSeconds <= 0.0f) {
        measureMusicGap(show.clock.elapsed);
      }
      if (gBenchmark != nullptr) {
        gBenchmark->beginFrame(show.scenes.sceneDrawingAt(show.clock.elapsed));
      }
    }
    // The frame past the end is still drawn; the run ends after it.
    if (show.pastEnd()) {
      platform::postQuitMessage();
    }
    const auto frameStart = std::chrono::steady_clock::now();
    const bool framePaused = show.paused();
    show.playDueFrame();
    ++framesDrawn;
    meter.countFrame(std::chrono::steady_clock::now());
    if (gOverlayShown) {
      drawTimeOverlay(show.pictureSeconds(), meter.framesPerSecond, show.paused(), gSurfaceSize);
    }
    frameCapture().afterFrame(show.pictureSeconds(), input.viewportWidth, input.viewportHeight);
    if (platform::stopSignal() != 0) {
      break;
    }
    offWindowFrame().showIn(gWindowWidth, gWindowHeight);
    platform::swapBuffers(presentationWindow().window);
    if (gBenchmark != nullptr) {
      // A threaded driver may still be drawing: the frame's cost ends when the GL is done.
      drawLayer().finish();
      gBenchmark->endFrame();
    }
    if (gGLDebug != nullptr) {
      gGLDebug->checkAfterFrame();
    }
    if (!framePaused) {
      measureFrame(std::chrono::duration<double>(std::chrono::steady_clock::now() - frameStart).count(),
                   show.pictureSeconds());
    }
    show.moveClockOn();
    if (textureManager().deferredUpload) {
      textureManager().processPendingUpload();
    }
    pacer.waitForNextFrame();
  }
  return framesDrawn;
}

// A video's frames: one shown frame for each of the video's, with the presentation's own steps
// between them played without showing where the video is slower than the presentation's longest
// step. No window messages, keys or pacing: nobody watches.
long videoLoop(VideoOutput& video, int stepsPerVideoFrame) {
  Presentation& show = presentation();
  const InputState& input = inputState();
  long framesDrawn = 0;
  while (!video.complete() && platform::stopSignal() == 0) {
    show.playDueFrame();
    ++framesDrawn;
    frameCapture().afterFrame(show.pictureSeconds(), input.viewportWidth, input.viewportHeight);
    if (!video.afterFrame()) {
      break;
    }
    platform::swapBuffers(presentationWindow().window);
    if (gGLDebug != nullptr) {
      gGLDebug->checkAfterFrame();
    }
    show.moveClockOn();
    for (int step = 1; step < stepsPerVideoFrame; ++step) {
      show.frame(FrameKind::LayersOnly, show.clock.elapsed, show.frameDelta());
      show.clock.update();
    }
    if (textureManager().deferredUpload) {
      textureManager().processPendingUpload();
    }
  }
  return framesDrawn;
}

// Shutdown and the exit status

// Every GL object goes while its context is current, in the reverse order of making; the window
// and context go last, and no GL call follows them.
void shutDown() {
  soundPlayer().stopMusic();
  frameCapture().finish(presentation().clock.elapsed);
  offWindowFrame().release();
  renderTarget().releaseTargets();
  presentation().scenes.releaseAll();
  modelCache().release();
  textureManager().release();
  shaderManager().release();
  outlineFont().releaseFont();
  bitmapFont().releaseFont();
  if (gGLDebug != nullptr) {
    gGLDebug->end();
  }
  presentationWindow().kill();
  platform::shutDownVideo();
}

namespace {

// A stop signal ends the run with 128 + its number, the status a shell gives a killed program.
int statusAfterStopSignal(int status) {
  const int signal = platform::stopSignal();
  return signal != 0 ? 128 + signal : status;
}

}  // namespace

// The video's plan from where the presentation stands after start-up; false, with a line on
// stderr, when the driver did not give the size asked for or ffmpeg would not start.
bool startVideo(const AppOptions& options, VideoOutput& video) {
  const InputState& input = inputState();
  if (input.viewportWidth != options.frameWidth || input.viewportHeight != options.frameHeight) {
    std::fprintf(stderr, "%s: --size %dx%d: the driver drew %d x %d off-screen instead\n", kPresentationName, options.frameWidth,
                 options.frameHeight, input.viewportWidth, input.viewportHeight);
    return false;
  }
  VideoPlan plan;
  plan.path = options.videoPath;
  plan.width = options.frameWidth;
  plan.height = options.frameHeight;
  plan.framesPerSecond = options.videoRate;
  // The first frame is the first of the presentation's steps at or after --start-at.
  plan.startSeconds = presentation().clock.elapsed;
  plan.frameCount = videoFrameCount(plan.startSeconds, options.endSeconds, options.videoRate);
  plan.musicPath = soundPlayer().soundPath(kMusicFile);
  return video.begin(plan);
}

// The --gl-debug summary; a run with GL errors ends with status 4 unless a worse status stands.
int reportGLDebug(const GLDebugReport& report, int status) {
  std::fprintf(stderr, "%s: gl-debug: %ld errors, %ld other messages\n", kPresentationName, report.errorCount(),
               report.otherMessageCount());
  return status == 0 && report.errorCount() > 0 ? 4 : status;
}

int runPresentation(const AppOptions& options, AllocationCounter countAllocations) {
  const auto loadStart = std::chrono::steady_clock::now();
  GLDebugReport debugReport;
  gGLDebug = options.debugGL ? &debugReport : nullptr;
  platform::installStopSignalHandlers();
  if (options.unattended) {
    platform::setUnattendedMode(true);
  }
  if (!options.videoPath.empty() && !VideoOutput::check(options.videoPath)) {
    return 3;
  }
  if (!startUp(options)) {
    // A capture that cannot be written is requested output not produced, not a failure to start.
    const int status = frameCapture().producedAll() ? 1 : 3;
    shutDown();
    gGLDebug = nullptr;
    return statusAfterStopSignal(status);
  }
  const auto seekStart = std::chrono::steady_clock::now();
  const double loadSeconds = std::chrono::duration<double>(seekStart - loadStart).count();
  if (options.startSeconds > 0.0f) {
    presentation().seek(options.startSeconds);
  }
  const double seekSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - seekStart).count();
  // A 1/60 s step over the whole presentation, with room to spare.
  BenchmarkRecord record(options.benchmark ? 12000 : 0, countAllocations);
  gBenchmark = options.benchmark ? &record : nullptr;
  const auto loopStart = std::chrono::steady_clock::now();
  VideoOutput video;
  int videoStatus = 0;
  long framesDrawn = 0;
  if (options.videoPath.empty()) {
    framesDrawn = mainLoop();
  } else if (startVideo(options, video)) {
    framesDrawn = videoLoop(video, presentationStepsPerVideoFrame(options.videoRate));
    videoStatus = video.finish(platform::stopSignal() != 0);
  } else {
    videoStatus = 3;
  }
  const double realSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - loopStart).count();
  const float presentationSeconds = presentation().clock.elapsed;
  shutDown();
  gBenchmark = nullptr;
  gGLDebug = nullptr;
  if (options.benchmark) {
    // A capture on standard output keeps that stream for pictures only.
    std::fprintf(options.capturePath == "-" ? stderr : stdout, "%s\n", record.report(loadSeconds, seekSeconds).c_str());
  }
  if (options.reportFrameRate) {
    // A capture on standard output keeps that stream for pictures only.
    std::fprintf(options.capturePath == "-" ? stderr : stdout,
                 "%s: %ld frames, %.2f s of presentation in %.2f s (%.1f frames per second)\n", kPresentationName,
                 framesDrawn, presentationSeconds, realSeconds, realSeconds > 0.0 ? framesDrawn / realSeconds : 0.0);
    if (gLargestMusicGap >= 0.0) {
      std::fprintf(options.capturePath == "-" ? stderr : stdout,
                   "%s: largest gap between a frame's time and the music heard: %.1f ms\n", kPresentationName,
                   gLargestMusicGap * 1000.0);
    }
  }
  // Requested output that was not produced must not pass for a good run.
  const int status = frameCapture().producedAll() && videoStatus == 0 ? 0 : 3;
  return statusAfterStopSignal(options.debugGL ? reportGLDebug(debugReport, status) : status);
}
