// The program's run: start-up, the main loop or the video's, shutdown, and the exit status. The
// window's messages, start-up and the loops have files of their own beside this one.
#include "app/program.h"

#include <chrono>
#include <cstdio>

#include "app/gl_window.h"
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

// What the frames of a run came to.
struct LoopResult {
  long framesDrawn = 0;
  int videoStatus = 0;  // 3 when the video was asked for and not made whole
};

// The main loop, or the video's loop when a video is asked for.
LoopResult playFrames(const AppOptions& options) {
  LoopResult result;
  if (options.videoPath.empty()) {
    result.framesDrawn = mainLoop();
    return result;
  }
  VideoOutput video;
  if (!startVideo(options, video)) {
    result.videoStatus = 3;
    return result;
  }
  result.framesDrawn = videoLoop(video, presentationStepsPerVideoFrame(options.videoRate));
  result.videoStatus = video.finish(platform::stopSignal() != 0);
  return result;
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

int runPresentation(const AppOptions& options, AllocationCounter countAllocations) {
  ProgramRun& run = programRun();
  const auto loadStart = std::chrono::steady_clock::now();
  GLDebugReport debugReport;
  run.debugReport = options.debugGL ? &debugReport : nullptr;
  platform::installStopSignalHandlers();
  if (options.unattended) {
    platform::setUnattendedMode(true);
  }
  if (!options.videoPath.empty() && !VideoOutput::check(options.videoPath, options.frameWidth, options.frameHeight)) {
    return 3;
  }
  if (!startUp(options)) {
    // A capture that cannot be written is requested output not produced, not a failure to start.
    const int status = run.capture.producedAll() ? 1 : 3;
    shutDown();
    run.debugReport = nullptr;
    return statusAfterStopSignal(status);
  }
  const auto seekStart = std::chrono::steady_clock::now();
  const double loadSeconds = std::chrono::duration<double>(seekStart - loadStart).count();
  if (options.startSeconds > 0.0f) {
    programRun().presentation.seek(options.startSeconds, currentDrawable());
  }
  const double seekSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - seekStart).count();
  // A 1/60 s step over the whole presentation, with room to spare.
  BenchmarkRecord record(options.benchmark ? 12000 : 0, countAllocations);
  run.benchmark = options.benchmark ? &record : nullptr;
  const auto loopStart = std::chrono::steady_clock::now();
  const LoopResult frames = playFrames(options);
  const double realSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - loopStart).count();
  const float presentationSeconds = programRun().presentation.clock.elapsed;
  shutDown();
  run.benchmark = nullptr;
  run.debugReport = nullptr;
  if (options.benchmark) {
    // A capture on standard output keeps that stream for pictures only.
    std::fprintf(options.capturePath == "-" ? stderr : stdout, "%s\n", record.report(loadSeconds, seekSeconds).c_str());
  }
  if (options.reportFrameRate) {
    reportFrameRate(options, frames.framesDrawn, presentationSeconds, realSeconds);
  }
  // Requested output that was not produced must not pass for a good run.
  const int status = run.capture.producedAll() && frames.videoStatus == 0 ? 0 : 3;
  return statusAfterStopSignal(options.debugGL ? reportGLDebug(debugReport, status) : status);
}
