// The sound output: one process-wide mixer, whole-file samples, free channels. Over SDL2_mixer on
// the desktop (mixer_desktop.cpp); over the page's Web Audio graph on the web (mixer_web.cpp).
// Every sample must be freed before the last closeMixer(); a closed mixer loads and plays nothing.
#pragma once

#include <cstddef>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

struct MixerSample;

struct MixerSampleDeleter {
  void operator()(MixerSample* sample) const;
};
using MixerSamplePtr = std::unique_ptr<MixerSample, MixerSampleDeleter>;

// Opens the audio device at frequencyHz in 16-bit stereo with mixingChannels channels to mix
// into. Opens are counted: only the first one opens the device. False with the reason in error
// when there is no audio device or the mixer cannot start.
bool openMixer(int frequencyHz, int mixingChannels, std::string& error);
// Halts every channel and closes the device when the last opener closes; extra calls do nothing.
void closeMixer();
bool mixerOpen();
// Where the open mixer's sound goes when the SDL audio driver it opened plays to no device:
// "the dummy audio driver discards the sound", "the disk audio driver writes the sound to FILE".
// Empty for a driver that plays on a device, and while the mixer is closed.
std::string inaudibleOutput();

// The largest sound file accepted: far above the presentation's track (under 4 MB).
constexpr size_t kMaxSampleFileBytes = 64u * 1024u * 1024u;

// Decodes a whole sound file held in memory into a sample in the device's format; null, with the
// reason in error, when the mixer is closed or the bytes are empty, beyond kMaxSampleFileBytes or
// cannot be decoded. A looping sample repeats until the process ends.
MixerSamplePtr decodeSample(const std::vector<uint8_t>& bytes, bool loop, std::string& error);
// Length in sample frames at the device's rate.
uint32_t sampleFrames(const MixerSample& sample);
// The rate the device really opened at (what the samples were converted to), in Hz.
int sampleFrequencyHz(const MixerSample& sample);
// Starts the sample on any free channel; false when no channel is free or the mixer is closed.
bool playSample(const MixerSample& sample);

// The tracked playback: one sample played from a chosen frame on a free channel, with the frames
// the device has been handed counted as it mixes them, so that the picture can keep to the music.
// Starting it stops the earlier one first: the track never plays twice.
bool playTracked(const MixerSample& sample, uint32_t startFrame);
void pauseTracked(bool paused);
void stopTracked();
// Seconds into the sample that the listener has heard by now; false when no tracked playback runs
// (never started, stopped, or played to its end).
bool trackedPosition(double& seconds);

// The frames handed to the device and the performance counter at the latest mix: written by the
// audio thread as it mixes, read by the frame loop. A read always gets a pair from one mix, never
// the count of one mix with the time of another.
class MixCounts {
 public:
  struct Snapshot {
    uint64_t mixedFrames = 0;
    uint64_t lastMixCounter = 0;  // 0: nothing mixed yet
  };
  void recordMix(uint64_t frames, uint64_t counter);  // adds the frames, stamps the mix
  void reset();  // nothing mixed; only while no mix can run (the audio device locked)
  Snapshot read() const;

 private:
  // Odd while a mix is being recorded; a read that saw it change reads again.
  std::atomic<uint32_t> sequence_{0};
  std::atomic<uint64_t> mixedFrames_{0};
  std::atomic<uint64_t> lastMixCounter_{0};

  // Stores both values as one write that readers see whole or retry.
  void write(uint64_t mixedFrames, uint64_t lastMixCounter);
};

// Seconds from the mix stamped lastMixCounter to the counter value now; 0 when nothing was mixed
// or when now is no later (a mix that landed after now was read has not started draining).
double secondsSinceMix(uint64_t lastMixCounter, uint64_t now, uint64_t frequency);

// The heard position from the mixer's counts: `mixedFrames` frames handed to the device since
// `startFrame`, of which the last `bufferFrames` were still waiting in the device's buffer when
// the last buffer was mixed `secondsSinceMix` ago; the buffer drains at frequencyHz meanwhile.
double heardSeconds(uint64_t mixedFrames, uint32_t startFrame, int bufferFrames, int frequencyHz,
                    double secondsSinceMix);

}  // namespace platform
