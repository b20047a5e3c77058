// The desktop's sound output, over SDL2_mixer.
#include "platform/mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

namespace platform {

struct MixerSample {
  Mix_Chunk* chunk = nullptr;
  bool loop = false;
  uint32_t frames = 0;
  int frequencyHz = 0;
};

namespace {

struct MixerState {
  int openCount = 0;
  int frequencyHz = 0;
  int bytesPerFrame = 0;
};

// Constant-initialised and trivially destroyed, so the player's exit-time close can still use it.
MixerState mixerState;

MixerState& mixer() { return mixerState; }

// Bytes in one output buffer of the device: small enough for prompt starts, large enough to
// keep a busy frame loop from starving the device.
constexpr int kChunkSizeBytes = 2048;
constexpr int kOutputChannels = 2;

bool startMixer(int frequencyHz, int mixingChannels, std::string& error) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    error = SDL_GetError();
    return false;
  }
  // The music is MP3; a mixer that cannot decode it would leave the run silent anyway.
  if ((Mix_Init(MIX_INIT_MP3) & MIX_INIT_MP3) == 0) {
    error = std::string("no MP3 decoder: ") + Mix_GetError();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  if (Mix_OpenAudio(frequencyHz, AUDIO_S16SYS, kOutputChannels, kChunkSizeBytes) != 0) {
    error = Mix_GetError();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
  }
  Mix_AllocateChannels(mixingChannels);
  int openedHz = 0;
  Uint16 format = 0;
  int channels = 0;
  Mix_QuerySpec(&openedHz, &format, &channels);
  MixerState& state = mixer();
  state.frequencyHz = openedHz;
  state.bytesPerFrame = static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8) * channels;
  return true;
}

}  // namespace

void MixerSampleDeleter::operator()(MixerSample* sample) const {
  if (sample == nullptr) {
    return;
  }
  Mix_FreeChunk(sample->chunk);
  delete sample;
}

bool openMixer(int frequencyHz, int mixingChannels, std::string& error) {
  MixerState& state = mixer();
  if (state.openCount > 0) {
    ++state.openCount;
    return true;
  }
  if (!startMixer(frequencyHz, mixingChannels, error)) {
    return false;
  }
  state.openCount = 1;
  return true;
}

void closeMixer() {
  MixerState& state = mixer();
  if (state.openCount == 0) {
    return;
  }
  --state.openCount;
  if (state.openCount > 0) {
    return;
  }
  stopTracked();
  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  state.frequencyHz = 0;
  state.bytesPerFrame = 0;
}

bool mixerOpen() { return mixer().openCount > 0; }

std::string inaudibleOutput() {
  const char* driver = mixerOpen() ? SDL_GetCurrentAudioDriver() : nullptr;
  if (driver == nullptr) {
    return "";
  }
  if (std::strcmp(driver, "dummy") == 0) {
    return "the dummy audio driver discards the sound";
  }
  if (std::strcmp(driver, "disk") == 0) {
    // SDL's disk driver takes its file from this variable, else writes sdlaudio.raw.
    const char* file = SDL_getenv("SDL_DISKAUDIOFILE");
    return std::string("the disk audio driver writes the sound to ") + (file != nullptr ? file : "sdlaudio.raw");
  }
  return "";
}

MixerSamplePtr decodeSample(const std::vector<uint8_t>& bytes, bool loop, std::string& error) {
  const MixerState& state = mixer();
  if (state.openCount == 0 || state.bytesPerFrame <= 0) {
    error = "no sound output";
    return nullptr;
  }
  if (bytes.empty()) {
    error = "the file is empty";
    return nullptr;
  }
  if (bytes.size() > kMaxSampleFileBytes) {
    error = "the file is larger than the " + std::to_string(kMaxSampleFileBytes) + "-byte limit";
    return nullptr;
  }
  // The whole file is decoded here; the bytes are not needed once the chunk exists.
  Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1);
  if (chunk == nullptr) {
    error = std::string("not a sound the mixer can decode: ") + Mix_GetError();
    return nullptr;
  }
  MixerSamplePtr sample(new MixerSample);
  sample->chunk = chunk;
  sample->loop = loop;
  sample->frames = chunk->alen / static_cast<uint32_t>(state.bytesPerFrame);
  sample->frequencyHz = state.frequencyHz;
  return sample;
}

uint32_t sampleFrames(const MixerSample& sample) { return sample.frames; }

int sampleFrequencyHz(const MixerSample& sample) { return sample.frequencyHz; }

bool playSample(const MixerSample& sample) {
  if (!mixerOpen() || sample.chunk == nullptr) {
    return false;
  }
  const int loops = sample.loop ? -1 : 0;
  return Mix_PlayChannel(-1, sample.chunk, loops) >= 0;
}

// Tracked playback

namespace {

// The device's buffer, in sample frames (what Mix_OpenAudio was asked for).
constexpr int kDeviceBufferFrames = kChunkSizeBytes;

// Written by the audio thread as it mixes, read by the frame loop.
struct TrackedPlayback {
  Mix_Chunk* view = nullptr;  // the part of the sample from the start frame on; not owning the bytes
  int channel = -1;
  uint32_t startFrame = 0;
  bool paused = false;
  double pausedSeconds = 0.0;
  std::atomic<bool> running{false};
  MixCounts counts;
};

TrackedPlayback tracked;

void countMixedFrames(int, void*, int lengthBytes, void*) {
  const int bytesPerFrame = mixer().bytesPerFrame;
  const uint64_t frames = bytesPerFrame > 0 ? static_cast<uint64_t>(lengthBytes / bytesPerFrame) : 0;
  tracked.counts.recordMix(frames, SDL_GetPerformanceCounter());
}

// Called when the channel plays to its end or is halted.
void trackedChannelDone(int, void*) { tracked.running = false; }

// The counts first, the clock after: the clock is then never earlier than the mix it is measured from.
double currentTrackedSeconds() {
  const MixCounts::Snapshot counts = tracked.counts.read();
  const double sinceMix =
      secondsSinceMix(counts.lastMixCounter, SDL_GetPerformanceCounter(), SDL_GetPerformanceFrequency());
  return heardSeconds(counts.mixedFrames, tracked.startFrame, kDeviceBufferFrames, mixer().frequencyHz, sinceMix);
}

}  // namespace

bool playTracked(const MixerSample& sample, uint32_t startFrame) {
  stopTracked();
  const MixerState& state = mixer();
  if (!mixerOpen() || sample.chunk == nullptr || state.bytesPerFrame <= 0 || startFrame >= sample.frames) {
    return false;
  }
  const uint32_t startByte = startFrame * static_cast<uint32_t>(state.bytesPerFrame);
  tracked.view = Mix_QuickLoad_RAW(sample.chunk->abuf + startByte, sample.chunk->alen - startByte);
  if (tracked.view == nullptr) {
    return false;
  }
  tracked.startFrame = startFrame;
  tracked.counts.reset();
  tracked.paused = false;
  // The channel is chosen and its counter registered before it is mixed for the first time.
  SDL_LockAudio();
  tracked.channel = Mix_PlayChannel(-1, tracked.view, 0);
  const bool started = tracked.channel >= 0 &&
                       Mix_RegisterEffect(tracked.channel, &countMixedFrames, &trackedChannelDone, nullptr) != 0;
  tracked.running = started;
  SDL_UnlockAudio();
  if (!started) {
    stopTracked();
  }
  return started;
}

void pauseTracked(bool paused) {
  if (tracked.channel < 0 || paused == tracked.paused) {
    return;
  }
  if (paused) {
    tracked.pausedSeconds = currentTrackedSeconds();
    Mix_Pause(tracked.channel);
  } else {
    // The channel goes on from the last frame it mixed: counting starts again there.
    SDL_LockAudio();
    tracked.startFrame += static_cast<uint32_t>(tracked.counts.read().mixedFrames);
    tracked.counts.reset();
    SDL_UnlockAudio();
    Mix_Resume(tracked.channel);
  }
  tracked.paused = paused;
}

void stopTracked() {
  if (tracked.channel >= 0 && mixerOpen()) {
    Mix_HaltChannel(tracked.channel);
  }
  tracked.channel = -1;
  tracked.running = false;
  tracked.paused = false;
  if (tracked.view != nullptr) {
    Mix_FreeChunk(tracked.view);
    tracked.view = nullptr;
  }
}

bool trackedPosition(double& seconds) {
  if (!tracked.running || tracked.channel < 0) {
    return false;
  }
  seconds = tracked.paused ? tracked.pausedSeconds : currentTrackedSeconds();
  return true;
}

}  // namespace platform
