#include "audio/sound_player.h"

#include "core/debug_log.h"

SoundPlayer& soundPlayer() {
  static SoundPlayer player;
  return player;
}

SoundPlayer::~SoundPlayer() { closeSound(); }

float SoundPlayer::nowSeconds() const { return timer != nullptr ? timer->elapsed : 0.0f; }

bool SoundPlayer::initSound() {
  if (mixerOpened_) {
    return true;
  }
  std::string error;
  mixerOpened_ = platform::openMixer(kSoundFrequencyHz, kSoundMixingChannels, error);
  if (!mixerOpened_) {
    DebugLog::append(kLogFileName, "SoundPlayer: no sound output (%s), running silent\r\n", error.c_str());
    return true;
  }
  // The device opened, but some drivers play to no one: the run is silent all the same.
  const std::string inaudible = platform::inaudibleOutput();
  if (!inaudible.empty()) {
    DebugLog::append(kLogFileName, "SoundPlayer: %s, nothing will be heard\r\n", inaudible.c_str());
  }
  return true;
}

bool SoundPlayer::loadSound(int slot, const std::string& name, bool loop) {
  std::string error;
  platform::MixerSamplePtr sample = platform::loadSample(soundFolder + name, loop, error);
  if (!sample) {
    // Without an output the reason was logged once already, when the mixer would not open.
    if (mixerOpened_) {
      DebugLog::append(kLogFileName, "SoundPlayer: cannot load %s (%s), running silent\r\n",
                       (soundFolder + name).c_str(), error.c_str());
    }
    return false;
  }
  SoundEntry entry;
  entry.lastPlayed = nowSeconds();
  const int frequencyHz = platform::sampleFrequencyHz(*sample);
  const double frames = static_cast<double>(platform::sampleFrames(*sample));
  entry.duration = frequencyHz > 0 ? static_cast<float>(frames / frequencyHz) : 0.0f;
  entry.sample = std::move(sample);
  entry.name = name;
  entry.slot = slot;
  entries.push_back(std::move(entry));
  return true;
}

bool SoundPlayer::playSound(int index, bool onlyWhenFinished) {
  if (index < 0 || static_cast<size_t>(index) >= entries.size()) {
    return false;
  }
  SoundEntry& entry = entries[static_cast<size_t>(index)];
  if (!entry.sample) {
    return false;
  }
  const float now = nowSeconds();
  // Equal to one duration still counts as playing: the last sample frame may not be out yet.
  if (onlyWhenFinished && !(now - entry.lastPlayed > entry.duration)) {
    return false;
  }
  if (!platform::playSample(*entry.sample)) {
    return false;
  }
  entry.lastPlayed = now;
  return true;
}

void SoundPlayer::closeSound() {
  entries.clear();
  if (mixerOpened_) {
    platform::closeMixer();
    mixerOpened_ = false;
  }
}

bool SoundPlayer::playFrom(int index, double startSeconds) {
  if (index < 0 || static_cast<size_t>(index) >= entries.size() || !entries[static_cast<size_t>(index)].sample) {
    return false;
  }
  SoundEntry& entry = entries[static_cast<size_t>(index)];
  const double frame = startSeconds * platform::sampleFrequencyHz(*entry.sample);
  if (!(frame >= 0.0) || frame >= static_cast<double>(platform::sampleFrames(*entry.sample))) {
    platform::stopTracked();
    return false;
  }
  if (!platform::playTracked(*entry.sample, static_cast<uint32_t>(frame))) {
    return false;
  }
  entry.lastPlayed = nowSeconds();
  return true;
}

void SoundPlayer::pauseMusic(bool paused) { platform::pauseTracked(paused); }

void SoundPlayer::stopMusic() { platform::stopTracked(); }

bool SoundPlayer::musicPosition(double& seconds) const { return platform::trackedPosition(seconds); }
