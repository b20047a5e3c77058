// Sound building blocks for the baked music: audio tracks, band-limited oscillators, a
// state-variable filter and note envelopes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace baker {

constexpr int kMusicSampleRate = 44100;

// One channel of samples; adding past the end is ignored, so voices may ring out freely.
struct MonoTrack {
  std::vector<float> samples;
  explicit MonoTrack(size_t frames) : samples(frames, 0.0f) {}
  void add(size_t frame, float value) {
    if (frame < samples.size()) samples[frame] += value;
  }
};

struct StereoTrack {
  MonoTrack left;
  MonoTrack right;
  explicit StereoTrack(size_t frames) : left(frames), right(frames) {}
  size_t frames() const { return left.samples.size(); }
};

size_t frameAt(double seconds);  // the frame at or just after a time
double midiFrequency(double note);  // 69 = A4 = 440 Hz

// A phase accumulator for one voice; the waveforms are band-limited (polyBLEP) so high notes
// do not alias into harsh tones.
class Oscillator {
 public:
  explicit Oscillator(double phase = 0.0) : phase_(phase) {}
  void setFrequency(double hertz) { increment_ = hertz / kMusicSampleRate; }
  float saw();
  float square();
  float sine();
  float triangle();

 private:
  void advance();
  double phase_;
  double increment_ = 0.0;
};

// Topology-preserving state-variable filter; stable for any cutoff below half the sample rate.
class StateVariableFilter {
 public:
  void set(float cutoffHertz, float resonance);  // resonance: 0.5 gentle .. 8 sharp
  float lowpass(float input);
  float bandpass(float input);
  float highpass(float input);

 private:
  void step(float input);
  float g_ = 0.0f;
  float k_ = 2.0f;
  float a1_ = 0.0f;
  float a2_ = 0.0f;
  float a3_ = 0.0f;
  float ic1_ = 0.0f;
  float ic2_ = 0.0f;
  float low_ = 0.0f;
  float band_ = 0.0f;
  float high_ = 0.0f;
};

// Attack, decay to sustain, hold until the note's length, then release; every segment is a
// ramp, so no note starts or stops with a jump.
struct Envelope {
  float attack = 0.005f;
  float decay = 0.1f;
  float sustain = 1.0f;
  float release = 0.05f;

  float at(float seconds, float noteLength) const;
  float totalLength(float noteLength) const { return noteLength + release; }
};

// Decays from 1 by e every `time` seconds after a short ramp up.
float percussive(float seconds, float attack, float time);

}  // namespace baker
