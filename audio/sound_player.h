// The music player: whole-file samples loaded from the data folder into a numbered table, and
// started on a free mixing channel.
// Entries are only ever appended; an entry's index is its position among successful loads.
#pragma once

#include <string>
#include <vector>

#include "core/frame_timer.h"
#include "core/resource_paths.h"
#include "platform/mixer.h"

constexpr int kSoundFrequencyHz = 44100;
constexpr int kSoundMixingChannels = 8;

struct SoundEntry {
  platform::MixerSamplePtr sample;  // never null in a stored entry
  std::string name;                 // as passed to loadSound, without the folder
  float lastPlayed = 0.0f;          // timer seconds of the last start, or of the load
  float duration = 0.0f;            // seconds: sample frames / frequency
  int slot = 0;                     // the pool index the caller asked for; the mixer has no pools
};

class SoundPlayer {
 public:
  virtual ~SoundPlayer();  // closeSound()

  // Opens the mixer at 44.1 kHz with 8 channels. Always true: without an audio device one log
  // line says why, and the run goes on silent (every later load fails quietly); a driver that
  // plays to no device (SDL's dummy and disk drivers) gets one log line saying where the sound goes.
  bool initSound();
  // Loads soundPath(name) whole; the loop flag makes every start of it repeat. False, with
  // nothing appended, when the file is missing or cannot be decoded: one log line names the file
  // and the reason (none without an audio device, whose absence was logged at start). A file
  // that decodes to much less than its MP3 Info frame promises is loaded and played as it is,
  // with one log line naming it.
  bool loadSound(int slot, const std::string& name, bool loop);
  // Starts entry `index` on a free channel. With onlyWhenFinished, refused while no more than one
  // duration has passed since the last start (or the load).
  bool playSound(int index, bool onlyWhenFinished);
  // Starts entry `index` from startSeconds into it as the tracked music, stopping the music that
  // played before; false when there is no such entry, the time is past its end or nothing plays.
  bool playFrom(int index, double startSeconds);
  void pauseMusic(bool paused);
  void stopMusic();
  // Seconds into the music the listener has heard; false while no music plays.
  bool musicPosition(double& seconds) const;
  // Frees every sample and closes the mixer; a second call does nothing.
  void closeSound();
  // Sounds are read from paths.dataFolder.
  void usePaths(const ResourcePaths& paths) { paths_ = paths; }
  // The file loadSound reads for a sound's name.
  std::string soundPath(const std::string& name) const { return paths_.dataFolder + name; }

  std::vector<SoundEntry> entries;
  // The clock that stamps loads and starts; no timer reads as time 0.
  const FrameTimer* timer = nullptr;

 private:
  float nowSeconds() const;

  ResourcePaths paths_;
  bool mixerOpened_ = false;
};

SoundPlayer& soundPlayer();
