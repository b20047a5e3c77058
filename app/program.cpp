// The program's run: start-up, the main loop or the video's, shutdown, and the exit status. The
// window's messages, start-up and the loops have files of their own beside this one.
#include "app/program.h"

#include <chrono>
#include <cstdio>

#include "app/gl_window.h"
#include "app/main_loop.h"
#include "app/program_run.h"
#include "app/video_output.h"
#include "audio/sound_player.h"
#include "core/program_name.h"
#include "gpu/bitmap_font.h"
#include "gpu/outline_font.h"
#include "gpu/render_target.h"
#include "gpu/shader_manager.h"
#include "gpu/texture_manager.h"
#include "platform/message_box.h"
#include "platform/stop_signals.h"
#include "world/model_cache.h"

namespace {

// The frame rate plain play keeps to where the display's own rate is not known.
constexpr int kAssumedRefreshHertz = 60;

// A stop signal ends the run with 128 + its number, the status a shell gives a killed program.
int statusAfterStopSignal(int status) {
  const int signal = platform::stopSignal();
  return signal != 0 ? 128 + signal : status;
}

// The video's plan from where the presentation stands after start-up; false, with a line on
// stderr, when the driver did not give the size asked for or ffmpeg would not start.
bool startVideo(const AppOptions& options, VideoOutput& video) {
  const GLWindow& window = programRun().window;
  if (window.drawableWidth() != options.frameWidth || window.drawableHeight() != options.frameHeight) {
    std::fprintf(stderr, "%s: --size %dx%d: the driver drew %d x %d off-screen instead\n", kPresentationName,
                 options.frameWidth, options.frameHeight, window.drawableWidth(), window.drawableHeight());
    return false;
  }
  VideoPlan plan;
  plan.path = options.videoPath;
  plan.width = options.frameWidth;
  plan.height = options.frameHeight;
  plan.framesPerSecond = options.videoRate;
  // The first frame is the first of the presentation's steps at or after --start-at.
  plan.startSeconds = programRun().presentation.clock.elapsed;
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

// --fps: the frames, the presentation's time and the real time they took, and the music's gap.
void reportFrameRate(const AppOptions& options, long framesDrawn, float presentationSeconds, double realSeconds) {
  // A capture on standard output keeps that stream for pictures only.
  FILE* const out = options.capturePath == "-" ? stderr : stdout;
  std::fprintf(out, "%s: %ld frames, %.2f s of presentation in %.2f s (%.1f frames per second)\n", kPresentationName,
               framesDrawn, presentationSeconds, realSeconds, realSeconds > 0.0 ? framesDrawn / realSeconds : 0.0);
  if (programRun().largestMusicGap >= 0.0) {
    std::fprintf(out, "%s: largest gap between a frame's time and the music heard: %.1f ms\n", kPresentationName,
                 programRun().largestMusicGap * 1000.0);
  }
}

}  // namespace

double steadySeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

double displayFramePeriod() {
  const int hertz = platform::displayRefreshRate(programRun().window.window);
  return 1.0 / (hertz > 0 ? hertz : kAssumedRefreshHertz);
}

// Every GL object goes while its context is current, in the reverse order of making; the window
// and context go last, and no GL call follows them.
void shutDown() {
  ProgramRun& run = programRun();
  soundPlayer().stopMusic();
  run.capture.finish(programRun().presentation.clock.elapsed);
  run.offWindowFrame.release();
  renderTarget().releaseTargets();
  programRun().presentation.scenes.releaseAll();
  modelCache().release();
  textureManager().release();
  shaderManager().release();
  outlineFont().releaseFont();
  bitmapFont().releaseFont();
  if (run.debugReport != nullptr) {
    run.debugReport->end();
  }
  programRun().window.kill();
  platform::shutDownVideo();
}

PresentationRun::PresentationRun(const AppOptions& options, AllocationCounter countAllocations)
    : options_(options), countAllocations_(countAllocations), loadStart_(std::chrono::steady_clock::now()) {}

PresentationRun::~PresentationRun() = default;

platform::SteppedRun PresentationRun::steps() {
  return platform::SteppedRun{[this] { return begin(); }, [this] { return step(); },
                              [this] { return shortestFrameSeconds(); }, [this] { return end(); }};
}

bool PresentationRun::begin() {
  ProgramRun& run = programRun();
  run.debugReport = options_.debugGL ? &debugReport_ : nullptr;
  platform::installStopSignalHandlers();
  if (options_.unattended) {
    platform::setUnattendedMode(true);
  }
  if (!options_.videoPath.empty() &&
      !VideoOutput::check(options_.videoPath, options_.frameWidth, options_.frameHeight)) {
    stage_ = Stage::Refused;
    return false;
  }
  if (!startUp(options_)) {
    stage_ = Stage::StartFailed;
    return false;
  }
  const auto seekStart = std::chrono::steady_clock::now();
  loadSeconds_ = std::chrono::duration<double>(seekStart - loadStart_).count();
  if (options_.startSeconds > 0.0f) {
    run.presentation.seek(options_.startSeconds, currentDrawable());
  }
  seekSeconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - seekStart).count();
  // A 1/60 s step over the whole presentation, with room to spare.
  record_ = std::make_unique<BenchmarkRecord>(options_.benchmark ? 12000 : 0, countAllocations_);
  run.benchmark = options_.benchmark ? record_.get() : nullptr;
  loopStart_ = std::chrono::steady_clock::now();
  stage_ = Stage::Playing;
  if (!options_.videoPath.empty()) {
    video_ = std::make_unique<VideoOutput>();
    if (!startVideo(options_, *video_)) {
      video_.reset();
      videoStatus_ = 3;
      stage_ = Stage::NoFrames;
      return true;
    }
    videoLoop_ = std::make_unique<VideoLoop>(*video_, presentationStepsPerVideoFrame(options_.videoRate));
  }
  return true;
}

platform::StepOutcome PresentationRun::step() {
  if (stage_ != Stage::Playing) {
    return platform::StepOutcome::Finished;
  }
  return videoLoop_ != nullptr ? videoLoop_->step() : mainLoop_.step();
}

double PresentationRun::shortestFrameSeconds() const {
  return videoLoop_ != nullptr ? 0.0 : mainLoop_.shortestFrameSeconds();
}

int PresentationRun::end() {
  ProgramRun& run = programRun();
  if (stage_ == Stage::Refused) {
    run.debugReport = nullptr;
    return 3;
  }
  if (stage_ == Stage::StartFailed) {
    // A capture that cannot be written is requested output not produced, not a failure to start.
    const int status = run.capture.producedAll() ? 1 : 3;
    shutDown();
    run.debugReport = nullptr;
    return statusAfterStopSignal(status);
  }
  if (video_ != nullptr) {
    videoStatus_ = video_->finish(platform::stopSignal() != 0);
  }
  const long framesDrawn = videoLoop_ != nullptr ? videoLoop_->framesDrawn() : mainLoop_.framesDrawn();
  const double realSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - loopStart_).count();
  const float presentationSeconds = run.presentation.clock.elapsed;
  shutDown();
  run.benchmark = nullptr;
  run.debugReport = nullptr;
  if (options_.benchmark) {
    // A capture on standard output keeps that stream for pictures only.
    std::fprintf(options_.capturePath == "-" ? stderr : stdout, "%s\n", record_->report(loadSeconds_, seekSeconds_).c_str());
  }
  if (options_.reportFrameRate) {
    reportFrameRate(options_, framesDrawn, presentationSeconds, realSeconds);
  }
  // Requested output that was not produced must not pass for a good run.
  const int status = run.capture.producedAll() && videoStatus_ == 0 ? 0 : 3;
  return statusAfterStopSignal(options_.debugGL ? reportGLDebug(debugReport_, status) : status);
}
