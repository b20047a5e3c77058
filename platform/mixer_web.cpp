// The web's sound output: the page's Web Audio graph (web/audio_library.js). The page decodes the
// sound files while it loads, so a sample here is the buffer it decoded from the same bytes, and
// the heard position comes from the AudioContext's clock. Without the page's audio (no context,
// or one that cannot run) the mixer does not open and the presentation keeps its own time.
#include "platform/mixer.h"

extern "C" {
int orvo_audio_available();
int orvo_audio_find_sample(const uint8_t* bytes, size_t sizeBytes);
void orvo_audio_release_sample(int id);
uint32_t orvo_audio_sample_frames(int id);
int orvo_audio_sample_rate(int id);
void orvo_audio_play_sample(int id, int loop);
void orvo_audio_play_tracked(int id, uint32_t startFrame);
void orvo_audio_pause_tracked(int paused);
void orvo_audio_stop_tracked();
double orvo_audio_tracked_position();
}

namespace platform {

struct MixerSample {
  int id = 0;  // the page's decoded buffer
  bool loop = false;
};

namespace {

int gOpenCount = 0;

}  // namespace

void MixerSampleDeleter::operator()(MixerSample* sample) const {
  if (sample != nullptr) {
    orvo_audio_release_sample(sample->id);
  }
  delete sample;
}

// The page's context plays at its own rate; the samples it decoded are at that rate already.
bool openMixer(int /*frequencyHz*/, int /*mixingChannels*/, std::string& error) {
  if (gOpenCount == 0 && orvo_audio_available() == 0) {
    error = "the page has no audio context that can play";
    return false;
  }
  ++gOpenCount;
  return true;
}

void closeMixer() {
  if (gOpenCount == 0) {
    return;
  }
  if (--gOpenCount == 0) {
    orvo_audio_stop_tracked();
  }
}

bool mixerOpen() { return gOpenCount > 0; }

std::string inaudibleOutput() { return ""; }

MixerSamplePtr decodeSample(const std::vector<uint8_t>& bytes, bool loop, std::string& error) {
  if (!mixerOpen()) {
    error = "the mixer is closed";
    return nullptr;
  }
  if (bytes.empty() || bytes.size() > kMaxSampleFileBytes) {
    error = bytes.empty() ? "the file is empty" : "the file is too large";
    return nullptr;
  }
  const int id = orvo_audio_find_sample(bytes.data(), bytes.size());
  if (id == 0) {
    error = "the page decoded no sound from these bytes";
    return nullptr;
  }
  return MixerSamplePtr(new MixerSample{id, loop});
}

uint32_t sampleFrames(const MixerSample& sample) { return orvo_audio_sample_frames(sample.id); }

int sampleFrequencyHz(const MixerSample& sample) { return orvo_audio_sample_rate(sample.id); }

bool playSample(const MixerSample& sample) {
  if (!mixerOpen()) {
    return false;
  }
  orvo_audio_play_sample(sample.id, sample.loop ? 1 : 0);
  return true;
}

bool playTracked(const MixerSample& sample, uint32_t startFrame) {
  if (!mixerOpen() || startFrame >= sampleFrames(sample)) {
    return false;
  }
  orvo_audio_play_tracked(sample.id, startFrame);
  return true;
}

void pauseTracked(bool paused) { orvo_audio_pause_tracked(paused ? 1 : 0); }

void stopTracked() { orvo_audio_stop_tracked(); }

bool trackedPosition(double& seconds) {
  const double heard = orvo_audio_tracked_position();
  if (heard < 0.0) {
    return false;
  }
  seconds = heard;
  return true;
}

}  // namespace platform
