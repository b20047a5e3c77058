#include "app/video_output.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/program_name.h"
#include "core/debug_log.h"
#include "platform/replacing_file.h"
#include "platform/stop_signals.h"

namespace {

// What a Debian user runs to get ffmpeg with every encoder the formats need.
constexpr char kFfmpegInstallHint[] = "apt-get install ffmpeg";
// How many of ffmpeg's last lines a failed video shows.
constexpr int kShownEncoderLines = 5;
// How long ffmpeg may take no frame before the user hears of it.
constexpr double kStalledEncoderSeconds = 60.0;

// What each kind of file is made of, told by the end of its name.
struct VideoFormat {
  const char* ending;
  const char* muxer;
  const char* videoEncoder;
  const char* audioEncoder;
  // Up the right way first (the GL gives the bottom row first), then into the encoder's pixels.
  const char* filter;
  std::vector<std::string> videoOptions;
  std::vector<std::string> audioOptions;
};

// Pictures for players are tagged and converted as HD video is (BT.709, limited range); the
// lossless kind keeps the RGB pixels exactly as drawn.
const std::vector<std::string> kBt709Tags = {"-colorspace", "bt709", "-color_primaries", "bt709",
                                             "-color_trc",  "bt709", "-color_range",     "tv"};
constexpr char kPlayerFilter[] = "vflip,scale=out_color_matrix=bt709:out_range=tv,format=yuv420p";

const VideoFormat kFormats[] = {
    {".mp4", "mp4", "libx264", "aac", kPlayerFilter,
     {"-preset", "fast", "-crf", "18", "-movflags", "+faststart"}, {"-b:a", "192k"}},
    {".mkv", "matroska", "ffv1", "flac", "vflip,format=bgr0", {"-level", "3"}, {}},
    {".webm", "webm", "libvpx-vp9", "libopus", kPlayerFilter,
     {"-crf", "31", "-b:v", "0", "-row-mt", "1", "-deadline", "good", "-cpu-used", "4"}, {"-b:a", "160k"}},
};

const VideoFormat* formatOf(const std::string& path) {
  for (const VideoFormat& format : kFormats) {
    const size_t length = std::strlen(format.ending);
    if (path.size() > length && path.compare(path.size() - length, length, format.ending) == 0) {
      return &format;
    }
  }
  return nullptr;
}

std::string decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", value);
  return text;
}

// ffmpeg reads a name with a colon as a protocol and one with a leading dash as an option; the file
// protocol takes everything after its own prefix as a plain path.
std::string plainFile(const std::string& path) { return "file:" + path; }

std::vector<std::string> encoderArguments(const VideoPlan& plan, const VideoFormat& format, const std::string& output,
                                          bool withMusic) {
  std::vector<std::string> arguments = {"ffmpeg", "-hide_banner", "-nostats", "-loglevel", "warning", "-y",
                                        "-f", "rawvideo", "-pix_fmt", "rgba",
                                        "-video_size", std::to_string(plan.width) + "x" + std::to_string(plan.height),
                                        "-framerate", std::to_string(plan.framesPerSecond), "-i", "pipe:0"};
  const double lengthSeconds = static_cast<double>(plan.frameCount) / plan.framesPerSecond;
  if (withMusic) {
    // The music from the video's first frame, cut where its last frame ends, and silence after the
    // track's end up to there.
    arguments.insert(arguments.end(), {"-ss", decimal(plan.startSeconds), "-t", decimal(lengthSeconds), "-i",
                                       plainFile(plan.musicPath), "-map", "0:v:0", "-map", "1:a:0", "-af",
                                       "apad=whole_dur=" + decimal(lengthSeconds), "-c:a", format.audioEncoder});
    arguments.insert(arguments.end(), format.audioOptions.begin(), format.audioOptions.end());
  }
  arguments.insert(arguments.end(), {"-vf", format.filter, "-c:v", format.videoEncoder});
  arguments.insert(arguments.end(), format.videoOptions.begin(), format.videoOptions.end());
  if (std::strcmp(format.filter, kPlayerFilter) == 0) {
    arguments.insert(arguments.end(), kBt709Tags.begin(), kBt709Tags.end());
  }
  // A video stopped early ends its music there too.
  arguments.insert(arguments.end(), {"-shortest", "-f", format.muxer, plainFile(output)});
  return arguments;
}

std::string clockText(double seconds) {
  const long whole = std::lround(seconds);
  char text[32];
  std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  return text;
}

double cpuSeconds(const rusage& usage) {
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1.0e6;
}

bool isFile(const std::string& path) {
  struct stat status = {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

// Sizes ffmpeg takes a picture of at all: (width + 128) × (height + 128) below 2^31 / 8 bytes.
constexpr long long kEncoderPictureLimit = 0x7fffffffLL / 8;

bool encoderTakesSize(int width, int height) {
  return (static_cast<long long>(width) + 128) * (static_cast<long long>(height) + 128) < kEncoderPictureLimit;
}

// What of the music a video of `lengthSeconds` from `startSeconds` gets: whether the track can be
// decoded at all, and from when it is silent because the track has ended.
struct MusicSpan {
  bool usable = false;
  std::string problem;                // why it is not usable
  double silentFromSeconds = -1.0;    // presentation time where the track ends; -1: it lasts
};

MusicSpan probeMusic(const std::string& musicPath, double startSeconds, double lengthSeconds) {
  // Decoded at a low rate, mono, 16 bits: two bytes for every thousandth of a second of sound.
  constexpr double kProbeBytesPerSecond = 2000.0;
  MusicSpan span;
  std::string samples;
  std::string error;
  if (!platform::runForOutput({"ffmpeg", "-nostdin", "-v", "error", "-ss", decimal(startSeconds), "-t",
                               decimal(lengthSeconds), "-i", plainFile(musicPath), "-map", "0:a:0", "-ac", "1",
                               "-ar", "1000", "-f", "s16le", "-"},
                              samples, error)) {
    span.problem = "it cannot be decoded (ffmpeg: " + error + ")";
    return span;
  }
  span.usable = true;
  const double decodedSeconds = static_cast<double>(samples.size()) / kProbeBytesPerSecond;
  // A few hundredths of a second are lost to the decoder's own start.
  if (decodedSeconds < lengthSeconds - 0.05) {
    span.silentFromSeconds = startSeconds + decodedSeconds;
  }
  return span;
}

}  // namespace

long videoFrameCount(double startSeconds, double endSeconds, int framesPerSecond) {
  if (endSeconds <= startSeconds || framesPerSecond <= 0) {
    return 0;
  }
  // A frame whose time is a rounding error short of the end belongs to the next second's span.
  return static_cast<long>(std::ceil((endSeconds - startSeconds) * framesPerSecond - 1e-6));
}

bool VideoOutput::check(const std::string& path, int width, int height) {
  const VideoFormat* format = formatOf(path);
  if (format == nullptr) {
    std::fprintf(stderr, "%s: %s is not a .mp4, .mkv or .webm file\n", kPresentationName, path.c_str());
    return false;
  }
  if (!encoderTakesSize(width, height)) {
    std::fprintf(stderr, "%s: --video: ffmpeg takes no picture of %d x %d: (width + 128) x (height + 128) must stay "
                 "below %lld\n", kPresentationName, width, height, kEncoderPictureLimit);
    return false;
  }
  // The finished video is renamed over the name: only a plain file (or a link) can be replaced.
  struct stat standing = {};
  if (lstat(path.c_str(), &standing) == 0 && !S_ISREG(standing.st_mode) && !S_ISLNK(standing.st_mode)) {
    std::fprintf(stderr, "%s: cannot put the video in place as %s: %s stands there\n", kPresentationName,
                 path.c_str(), S_ISDIR(standing.st_mode) ? "a folder" : "something that is not a plain file");
    return false;
  }
  std::string encoders;
  std::string error;
  if (!platform::runForOutput({"ffmpeg", "-hide_banner", "-encoders"}, encoders, error)) {
    if (error == "not found") {
      std::fprintf(stderr, "%s: --video needs the program ffmpeg, which is not on PATH (on Debian: %s)\n",
                   kPresentationName, kFfmpegInstallHint);
    } else {
      std::fprintf(stderr, "%s: --video: ffmpeg would not list its encoders: %s\n", kPresentationName, error.c_str());
    }
    return false;
  }
  for (const char* encoder : {format->videoEncoder, format->audioEncoder}) {
    if (encoders.find(std::string(" ") + encoder + " ") == std::string::npos) {
      std::fprintf(stderr, "%s: --video %s needs ffmpeg's %s encoder, which this ffmpeg lacks (on Debian: %s)\n",
                   kPresentationName, path.c_str(), encoder, kFfmpegInstallHint);
      return false;
    }
  }
  // A folder that cannot take the part file fails now, not after the frames are drawn.
  std::string probe;
  const int descriptor = platform::createPartFile(path, probe);
  if (descriptor < 0) {
    std::fprintf(stderr, "%s: cannot write the video beside %s: %s\n", kPresentationName, path.c_str(),
                 std::strerror(errno));
    return false;
  }
  close(descriptor);
  unlink(probe.c_str());
  return true;
}

bool VideoOutput::begin(const VideoPlan& plan) {
  plan_ = plan;
  const VideoFormat* format = formatOf(plan.path);
  if (format == nullptr || plan.frameCount < 1) {
    std::fprintf(stderr, "%s: the video %s would hold no frame\n", kPresentationName, plan.path.c_str());
    return false;
  }
  const double lengthSeconds = static_cast<double>(plan.frameCount) / plan.framesPerSecond;
  const MusicSpan music = isFile(plan.musicPath) ? probeMusic(plan.musicPath, plan.startSeconds, lengthSeconds)
                                                 : MusicSpan{false, "it cannot be read", -1.0};
  if (!music.usable) {
    std::fprintf(stderr, "%s: the video has no sound: the music %s: %s\n", kPresentationName, plan.musicPath.c_str(),
                 music.problem.c_str());
  } else if (music.silentFromSeconds > plan.startSeconds) {
    std::fprintf(stderr, "%s: the music %s ends at %.2f s: the video is silent from there\n", kPresentationName,
                 plan.musicPath.c_str(), music.silentFromSeconds);
  } else if (music.silentFromSeconds >= 0.0) {
    std::fprintf(stderr, "%s: the music %s ends before %.2f s: the video is silent\n", kPresentationName,
                 plan.musicPath.c_str(), plan.startSeconds);
  }
  const int part = platform::createPartFile(plan.path, partPath_);
  if (part < 0) {
    std::fprintf(stderr, "%s: cannot write the video beside %s: %s\n", kPresentationName, plan.path.c_str(),
                 std::strerror(errno));
    return false;
  }
  close(part);
  std::string error;
  if (!encoder_.start(encoderArguments(plan, *format, partPath_, music.usable), error)) {
    std::fprintf(stderr, "%s: cannot start ffmpeg for the video %s: %s\n", kPresentationName, plan.path.c_str(), error.c_str());
    unlink(partPath_.c_str());
    return false;
  }
  DebugLog::append(kLogFileName, "Video: %s, %d x %d at %d frames per second, %ld frames from %.3f s%s, written to %s\r\n",
                   plan.path.c_str(), plan.width, plan.height, plan.framesPerSecond, plan.frameCount, plan.startSeconds,
                   music.usable ? ", with the music" : ", silent", partPath_.c_str());
  readback_.create(plan.width, plan.height);
  onTerminal_ = isatty(STDERR_FILENO) != 0;
  began_ = lastShown_ = std::chrono::steady_clock::now();
  return true;
}

bool VideoOutput::send(const uint8_t* frame) {
  if (frame == nullptr || broken_) {
    return !broken_;
  }
  const auto began = std::chrono::steady_clock::now();
  const platform::WriteOutcome written =
      platform::writeUnlessStopped(encoder_.input(), frame, readback_.frameBytes(), [this](double waitedSeconds) {
        if (waitedSeconds >= kStalledEncoderSeconds && !stallReported_) {
          stallReported_ = true;
          std::fprintf(stderr, "%s%s: ffmpeg has taken no frame for %.0f s; still waiting (a stop signal ends the video)\n",
                       onTerminal_ ? "\n" : "", kPresentationName, kStalledEncoderSeconds);
        }
      });
  handOverSeconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  if (written != platform::WriteOutcome::Written) {
    broken_ = true;
    return false;
  }
  ++framesSent_;
  return true;
}

bool VideoOutput::afterFrame() {
  ++framesDrawn_;
  const auto began = std::chrono::steady_clock::now();
  const uint8_t* frame = readback_.readNext();
  readbackSeconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  const bool taken = send(frame);
  reportProgress(false);
  return taken;
}

void VideoOutput::reportProgress(bool last) {
  const auto now = std::chrono::steady_clock::now();
  const double spent = std::chrono::duration<double>(now - began_).count();
  const double share = static_cast<double>(framesDrawn_) / static_cast<double>(plan_.frameCount);
  if (onTerminal_) {
    // One line redrawn in place, a few times a second.
    if (!last && now - lastShown_ < std::chrono::milliseconds(250)) {
      return;
    }
    lastShown_ = now;
    constexpr int kBarWidth = 24;
    const int filled = static_cast<int>(share * kBarWidth);
    const double rate = spent > 0.0 ? framesDrawn_ / spent : 0.0;
    const double left = rate > 0.0 ? (plan_.frameCount - framesDrawn_) / rate : 0.0;
    std::fprintf(stderr, "\r%s: [%s%s] %3d %%  %ld/%ld frames  at %.2f s  %.1f frames/s  spent %s  left %s\033[K",
                 kPresentationName, std::string(static_cast<size_t>(filled), '#').c_str(),
                 std::string(static_cast<size_t>(kBarWidth - filled), '-').c_str(), static_cast<int>(share * 100.0),
                 framesDrawn_, plan_.frameCount, plan_.startSeconds + static_cast<double>(framesDrawn_ - 1) / plan_.framesPerSecond,
                 rate, clockText(spent).c_str(), clockText(left).c_str());
    if (last) {
      std::fputc('\n', stderr);
    }
    return;
  }
  // Off a terminal, a line at every tenth done.
  const int tenth = static_cast<int>(share * 10.0);
  if (tenth > lastTenth_) {
    lastTenth_ = tenth;
    std::fprintf(stderr, "%s: video %d %%: %ld of %ld frames in %s\n", kPresentationName, tenth * 10, framesDrawn_, plan_.frameCount,
                 clockText(spent).c_str());
  }
}

int VideoOutput::finish(bool stopped) {
  const bool pixelBuffers = readback_.usesPixelBuffers();
  if (!stopped) {
    send(readback_.readLast());
  }
  readback_.release();
  if (onTerminal_ && framesDrawn_ > 0) {
    reportProgress(true);
  }
  // Closing ffmpeg's input is the end of the frames: it finishes the file with what it has.
  const int status = encoder_.finish();
  const double spent = std::chrono::duration<double>(std::chrono::steady_clock::now() - began_).count();
  if (stopped && status == 0) {
    std::fprintf(stderr, "%s: video stopped after %ld of %ld frames; %s plays up to there, %s is left as it was\n", kPresentationName,
                 framesSent_, plan_.frameCount, partPath_.c_str(), plan_.path.c_str());
    return 3;
  }
  if (stopped && encoder_.endedByUs()) {
    std::fprintf(stderr, "%s: video stopped after %ld of %ld frames; ffmpeg did not finish the file within %.0f s and "
                 "was ended, so nothing is kept; %s is left as it was\n", kPresentationName, framesSent_,
                 plan_.frameCount, platform::ChildProcess::kStopGraceSeconds, plan_.path.c_str());
    unlink(partPath_.c_str());
    return 3;
  }
  if (status != 0 || broken_ || framesSent_ < plan_.frameCount) {
    const std::string lastLines = encoder_.lastErrorLines(kShownEncoderLines);
    std::fprintf(stderr, "%s: ffmpeg could not make the video %s (it %s after %ld of %ld frames)%s%s\n",
                 kPresentationName, plan_.path.c_str(), encoder_.howItEnded().c_str(), framesSent_, plan_.frameCount,
                 lastLines.empty() ? "" : ":\n", lastLines.c_str());
    unlink(partPath_.c_str());
    return 3;
  }
  if (std::rename(partPath_.c_str(), plan_.path.c_str()) != 0) {
    std::fprintf(stderr, "%s: cannot put the video in place as %s: %s\n", kPresentationName, plan_.path.c_str(), std::strerror(errno));
    unlink(partPath_.c_str());
    return 3;
  }
  struct stat made = {};
  stat(plan_.path.c_str(), &made);
  std::fprintf(stderr, "%s: made %s: %.1f MB, %ld frames, %.2f s, in %s\n", kPresentationName, plan_.path.c_str(),
               static_cast<double>(made.st_size) / 1.0e6, framesSent_,
               static_cast<double>(framesSent_) / plan_.framesPerSecond, clockText(spent).c_str());
  rusage ours = {};
  rusage encoder = {};
  getrusage(RUSAGE_SELF, &ours);
  getrusage(RUSAGE_CHILDREN, &encoder);
  DebugLog::append(kLogFileName,
                   "Video: %s made, %ld frames in %.1f s: waiting for frames and reading them back %.1f s, handing them "
                   "over %.1f s, the rest drawing; "
                   "processor time %.1f s here (peak %ld MB), %.1f s in ffmpeg (peak %ld MB)%s\r\n",
                   plan_.path.c_str(), framesSent_, spent, readbackSeconds_, handOverSeconds_, cpuSeconds(ours),
                   ours.ru_maxrss / 1024, cpuSeconds(encoder), encoder.ru_maxrss / 1024,
                   pixelBuffers ? ", read through pixel buffers" : "");
  return 0;
}
