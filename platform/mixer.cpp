#include "platform/mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <vector>

#include "core/input_file.h"

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
  Mix_HaltChannel(-1);
  Mix_CloseAudio();
  Mix_Quit();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  state.frequencyHz = 0;
  state.bytesPerFrame = 0;
}

bool mixerOpen() { return mixer().openCount > 0; }

MixerSamplePtr loadSample(const std::string& path, bool loop, std::string& error) {
  const MixerState& state = mixer();
  if (state.openCount == 0 || state.bytesPerFrame <= 0) {
    error = "no sound output";
    return nullptr;
  }
  std::vector<uint8_t> bytes;
  const InputFileResult read = readInputFile(path, kMaxSampleFileBytes, bytes);
  if (!read.ok()) {
    error = read.reason;
    return nullptr;
  }
  if (bytes.empty()) {
    error = "the file is empty";
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

}  // namespace platform
