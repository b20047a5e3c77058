// Oscillators, filter and envelopes for the music.
#include "tools/music_dsp.h"

#include <cmath>

namespace baker {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Correction around a waveform jump, t the phase and dt the step (Valimaki's polyBLEP).
double polyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

}  // namespace

size_t frameAt(double seconds) {
  if (seconds <= 0.0) {
    return 0;
  }
  return static_cast<size_t>(std::ceil(seconds * kMusicSampleRate));
}

double midiFrequency(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

void Oscillator::advance() {
  phase_ += increment_;
  if (phase_ >= 1.0) {
    phase_ -= 1.0;
  }
}

float Oscillator::saw() {
  const double value = 2.0 * phase_ - 1.0 - polyBlep(phase_, increment_);
  advance();
  return static_cast<float>(value);
}

float Oscillator::square() {
  double value = phase_ < 0.5 ? 1.0 : -1.0;
  value += polyBlep(phase_, increment_);
  double shifted = phase_ + 0.5;
  if (shifted >= 1.0) {
    shifted -= 1.0;
  }
  value -= polyBlep(shifted, increment_);
  advance();
  return static_cast<float>(value);
}

float Oscillator::sine() {
  const double value = std::sin(2.0 * kPi * phase_);
  advance();
  return static_cast<float>(value);
}

float Oscillator::triangle() {
  const double value = phase_ < 0.5 ? 4.0 * phase_ - 1.0 : 3.0 - 4.0 * phase_;
  advance();
  return static_cast<float>(value);
}

void StateVariableFilter::set(float cutoffHertz, float resonance) {
  const float nyquistSafe = 0.45f * kMusicSampleRate;
  const float cutoff = cutoffHertz < 20.0f ? 20.0f : (cutoffHertz > nyquistSafe ? nyquistSafe : cutoffHertz);
  g_ = static_cast<float>(std::tan(kPi * cutoff / kMusicSampleRate));
  k_ = 1.0f / resonance;
  a1_ = 1.0f / (1.0f + g_ * (g_ + k_));
  a2_ = g_ * a1_;
  a3_ = g_ * a2_;
}

void StateVariableFilter::step(float input) {
  const float v3 = input - ic2_;
  const float v1 = a1_ * ic1_ + a2_ * v3;
  const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
  ic1_ = 2.0f * v1 - ic1_;
  ic2_ = 2.0f * v2 - ic2_;
  low_ = v2;
  band_ = v1;
  high_ = input - k_ * v1 - v2;
}

float StateVariableFilter::lowpass(float input) {
  step(input);
  return low_;
}

float StateVariableFilter::bandpass(float input) {
  step(input);
  return band_;
}

float StateVariableFilter::highpass(float input) {
  step(input);
  return high_;
}

float Envelope::at(float seconds, float noteLength) const {
  auto held = [this](float t) {
    if (t < attack) {
      return t / attack;
    }
    if (t < attack + decay) {
      return 1.0f - (1.0f - sustain) * (t - attack) / decay;
    }
    return sustain;
  };
  if (seconds < 0.0f) {
    return 0.0f;
  }
  if (seconds < noteLength) {
    return held(seconds);
  }
  const float fromLevel = held(noteLength);
  const float released = (seconds - noteLength) / release;
  return released >= 1.0f ? 0.0f : fromLevel * (1.0f - released);
}

float percussive(float seconds, float attack, float time) {
  if (seconds < 0.0f) {
    return 0.0f;
  }
  if (seconds < attack) {
    return seconds / attack;
  }
  return std::exp(-(seconds - attack) / time);
}

}  // namespace baker
