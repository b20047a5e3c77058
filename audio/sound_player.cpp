#include "audio/sound_player.h"

#include "audio/mp3_info_frame.h"
#include "core/debug_log.h"
#include "core/input_file.h"

namespace {

// A track counts as cut short when it decodes to less than its Info frame promises by more than
// both of these: frame rounding, encoder delay and padding never come near either.
constexpr double kShortfallSeconds = 1.0;
constexpr double kShortfallFraction = 0.1;

bool cutShort(double decodedSeconds, double promisedSeconds) {
  const double shortfall = promisedSeconds - decodedSeconds;
  return shortfall > kShortfallSeconds && shortfall > kShortfallFraction * promisedSeconds;
}

}  // namespace

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
  // Without an output the reason was logged once already, when the mixer would not open.
  if (!platform::mixerOpen()) {
    return false;
  }
  const std::string path = soundPath(name);
  std::vector<uint8_t> bytes;
  const InputFileResult read = readInputFile(path, platform::kMaxSampleFileBytes, bytes);
  std::string error = read.reason;
  platform::MixerSamplePtr sample = read.ok() ? platform::decodeSample(bytes, loop, error) : nullptr;
  if (!sample) {
    DebugLog::append(kLogFileName, "SoundPlayer: cannot load %s (%s), running silent\r\n", path.c_str(),
                     error.c_str());
    return false;
  }
  SoundEntry entry;
  entry.lastPlayed = nowSeconds();
  const int frequencyHz = platform::sampleFrequencyHz(*sample);
  const double frames = static_cast<double>(platform::sampleFrames(*sample));
  entry.duration = frequencyHz > 0 ? static_cast<float>(frames / frequencyHz) : 0.0f;
  double promisedSeconds = 0.0;
  if (readMp3PromisedSeconds(bytes.data(), bytes.size(), promisedSeconds) && cutShort(entry.duration, promisedSeconds)) {
    DebugLog::append(kLogFileName,
                     "SoundPlayer: %s holds %.1f s of the %.1f s its header promises (the file is cut short), "
                     "playing what there is\r\n",
                     path.c_str(), entry.duration, promisedSeconds);
  }
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
