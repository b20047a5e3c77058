// Start-up, in the order the log shows it: the run's settings, the window and its context, the
// drawing set-up, the content, then the music.
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "app/gl_window.h"
#include "app/program.h"
#include "app/program_run.h"
#include "app/resource_folder.h"
#include "audio/sound_player.h"
#include "core/debug_log.h"
#include "core/effects_register.h"
#include "core/input_state.h"
#include "core/program_name.h"
#include "core/random.h"
#include "gpu/bitmap_font.h"
#include "gpu/outline_font.h"
#include "gpu/render_target.h"
#include "gpu/shader_manager.h"
#include "platform/gl_capabilities.h"

namespace {

// The keys, the random sequence, the clock's source, the capture and the scripted keys; false
// when the capture cannot be written.
bool prepareRun(const AppOptions& options, Presentation& show) {
  InputState& input = inputState();
  input.appActive = 1;
  soundPlayer().timer = &show.clock;
  input.clearKeys();
  seedRandom(options.seedGiven ? options.seed : static_cast<unsigned int>(std::time(nullptr)));
  ProgramRun& run = programRun();
  run.loop = options.loop;
  show.endSeconds = options.endSeconds;
  show.fixedStepSeconds = options.fixedStepSeconds;
  if (options.fixedStepRate > 0) {
    show.clock.setTickSource(frameCountTicks(options.fixedStepRate));
  } else if (options.fixedStepSeconds > 0.0f) {
    show.clock.setTickSource(fixedStepTicks(options.fixedStepSeconds));
  }
  if (!run.capture.begin(options)) {
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
    run.scriptedKeys.load(keys);
  }
  return true;
}

// The window and its context: the composed 800 x 600, or the size asked for a window (and for
// drawing off-screen). False, once the window has told the user why, when it cannot be made.
bool createWindow(const AppOptions& options) {
  GLWindow& window = programRun().window;
  window.fullScreen = !options.windowed && !options.desktop;
  window.desktop = options.desktop && !options.windowed;
  window.debugContext = options.debugGL;
  window.contextKindGiven = options.contextKindGiven;
  window.contextKind = options.contextKind;
  const bool sizeGiven = options.windowed && options.frameWidth > 0;
  if (options.offScreen) {
    platform::drawOffScreen();
  }
  return window.create(kWindowTitle, sizeGiven ? options.frameWidth : 800, sizeGiven ? options.frameHeight : 600, 32,
                       &windowProcedure);
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

// The GL's messages, the pacing, the samples, and the drawable as it is now (the size message that
// follows says the same) with the surfaces' size for it.
void prepareDrawing(const AppOptions& options) {
  ProgramRun& run = programRun();
  if (run.debugReport != nullptr) {
    run.debugReport->begin();
  }
  choosePacing(options.benchmark);
  chooseSurfaceSamples(options.msaaSamples);
  GLWindow& window = programRun().window;
  window.measureDrawable();
  run.surfaces.begin(window.drawableWidth(), window.drawableHeight(), surfacesFollowFrameTime(options),
                     displayFramePeriod(), steadySeconds());
}

// One log line says what the driver gave and which effects it lets run; an effect that is off is
// also told on stderr, so the user learns it without opening the log. An effect switched off after
// this is told by the register itself.
void reportDriverAndEffects() {
  const platform::GLCapabilities& driver = platform::contextCapabilities();
  EffectsRegister& effects = effectsRegister();
  std::string effectList;
  for (int index = 0; index < kReportedEffectCount; ++index) {
    const Effect effect = static_cast<Effect>(index);
    const bool off = effects.isOff(effect);
    effectList += std::string(index == 0 ? "" : ", ") + effectName(effect) + (off ? " off" : " on");
    if (off) {
      std::fprintf(stderr, "%s: %s off: %s\n", kPresentationName, effectName(effect),
                   effects.offReason(effect).c_str());
    }
  }
  effects.endLoading();
  DebugLog::append(kLogFileName, "GL: version %s, renderer %s, shading language %s; %s\r\n",
                   driver.versionText.c_str(), driver.renderer.c_str(),
                   driver.shadingLanguageText.empty() ? "none" : driver.shadingLanguageText.c_str(),
                   effectList.c_str());
}

// The fonts, the lighting programs with their constants, and the presentation itself.
void loadContent(Presentation& show) {
  bitmapFont().createBitmapFont("Arial Black", 36);
  outlineFont().createOutlineFont("Arial Black", 24, 0.2f);

  ShaderManager& shaders = shaderManager();
  shaders.setupPerPixelLighting();
  const float materialColours[9] = {0.1f, 0.1f, 0.1f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
  shaders.setMaterialColours(materialColours);
  shaders.setShininessAndAttenuation(3.0f, 800.0f, 2.2f);

  show.clock.reset();
  composePresentation(show, currentDrawable());
  reportDriverAndEffects();
}

// A missing or undecodable track leaves the presentation silent. The music is started as the
// tracked playback, so that the frames can keep to what is heard.
void startMusic(const AppOptions& options) {
  if (options.silent) {
    return;
  }
  soundPlayer().initSound();
  soundPlayer().loadSound(1, kMusicFile, false);
  soundPlayer().playFrom(0, 0.0);
}

}  // namespace

bool startUp(const AppOptions& options) {
  placeLog();
  ProgramRun& run = programRun();
  // Without its files the presentation would only show a box for each of them.
  if (!findResourcePaths(run.paths)) {
    return false;
  }
  pointLoadersAt(run.paths);
  Presentation& show = programRun().presentation;
  if (!prepareRun(options, show)) {
    return false;
  }
  DebugLog::append(kLogFileName, "-- Starting -- \r\n");
  // What loads from here on switches the effects on or off, until the start-up report tells them.
  effectsRegister().beginLoading();
  if (!createWindow(options)) {
    return false;
  }
  DebugLog::append(kLogFileName, "Reading %s and the shader files from %s\r\n", kDataFolder,
                   resourceFolderDescription(run.paths).c_str());
  prepareDrawing(options);
  loadContent(show);
  startMusic(options);

  show.placeLight();
  show.clock.reset();
  show.keepStart();
  show.reportJumpProgress = &showJumpProgress;
  return true;
}
