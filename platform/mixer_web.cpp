// The web's sound output, silent for now: the page is to play the track through Web Audio. The
// mixer never opens, so the presentation runs on its own clock, as on a machine with no audio device.
#include "platform/mixer.h"

namespace platform {

struct MixerSample {};

void MixerSampleDeleter::operator()(MixerSample* sample) const { delete sample; }

bool openMixer(int /*frequencyHz*/, int /*mixingChannels*/, std::string& error) {
  error = "the web edition plays no sound yet";
  return false;
}

void closeMixer() {}

bool mixerOpen() { return false; }

std::string inaudibleOutput() { return ""; }

MixerSamplePtr decodeSample(const std::vector<uint8_t>& /*bytes*/, bool /*loop*/, std::string& error) {
  error = "the mixer is closed";
  return nullptr;
}

uint32_t sampleFrames(const MixerSample& /*sample*/) { return 0; }

int sampleFrequencyHz(const MixerSample& /*sample*/) { return 0; }

bool playSample(const MixerSample& /*sample*/) { return false; }

bool playTracked(const MixerSample& /*sample*/, uint32_t /*startFrame*/) { return false; }

void pauseTracked(bool /*paused*/) {}

void stopTracked() {}

bool trackedPosition(double& /*seconds*/) { return false; }

}  // namespace platform
