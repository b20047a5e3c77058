// Instrument voices. Every voice renders from its own ramped envelope and ends with a short
// fade, so no voice adds a step to the mix; noisy voices seed their noise from their start
// frame, so the order in which notes are played does not change the sound.
#include "tools/music_instruments.h"

#include <algorithm>
#include <cmath>

#include "tools/bake_random.h"

namespace baker {

namespace {

constexpr float kPi = 3.14159265f;
constexpr float kTailFadeSeconds = 0.01f;

// Where a voice goes: its stereo place, and how much it sends to the reverb and the echoes.
struct Route {
  StereoTrack* track;
  float pan;  // -1 left .. 1 right
  float reverb;
  EchoBus echo;
  float echoAmount;
};

// Equal-power pan gains.
void panGains(float pan, float* left, float* right) {
  const float angle = (pan + 1.0f) * 0.25f * kPi;
  *left = std::cos(angle);
  *right = std::sin(angle);
}

class VoiceOutput {
 public:
  VoiceOutput(MusicMix& mix, const Route& route) : mix_(mix), route_(route) { panGains(route.pan, &left_, &right_); }
  void emit(size_t frame, float sample) { emitStereo(frame, sample * left_, sample * right_); }
  void emitStereo(size_t frame, float left, float right) {
    route_.track->left.add(frame, left);
    route_.track->right.add(frame, right);
    const float mono = 0.5f * (left + right);
    mix_.reverbSend.add(frame, mono * route_.reverb);
    if (route_.echo == EchoBus::kSlow) {
      mix_.echoSendSlow.add(frame, mono * route_.echoAmount);
    } else if (route_.echo == EchoBus::kFast) {
      mix_.echoSendFast.add(frame, mono * route_.echoAmount);
    }
  }

 private:
  MusicMix& mix_;
  Route route_;
  float left_ = 0.0f;
  float right_ = 0.0f;
};

// Fades the last few milliseconds of a voice that is cut at `length` seconds.
float tailFade(float seconds, float length) {
  const float left = length - seconds;
  return left >= kTailFadeSeconds ? 1.0f : std::max(0.0f, left / kTailFadeSeconds);
}

float noiseSample(BakeRandom& random) { return random.fraction() * 2.0f - 1.0f; }

std::uint64_t noiseSeed(size_t frame, std::uint64_t salt) { return static_cast<std::uint64_t>(frame) * 0x9E37ull + salt; }

float softClip(float x) { return std::tanh(x); }

}  // namespace

MusicMix::MusicMix(double seconds)
    : dry(frameAt(seconds)), pumped(frameAt(seconds)), reverbSend(frameAt(seconds)), echoSendSlow(frameAt(seconds)),
      echoSendFast(frameAt(seconds)), duck(frameAt(seconds), 1.0f) {}

void playKick(MusicMix& mix, double time, float level, float brightness) {
  VoiceOutput out(mix, {&mix.dry, 0.0f, 0.02f, EchoBus::kNone, 0.0f});
  const size_t start = frameAt(time);
  const float length = 0.42f;
  Oscillator body;
  StateVariableFilter muffle;
  muffle.set(200.0f + 6000.0f * brightness * brightness, 0.7f);
  BakeRandom random(noiseSeed(start, 1));
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    // The pitch falls from a punchy 160 Hz to a 48 Hz boom.
    body.setFrequency(48.0 + 115.0 * std::exp(-t / 0.03f));
    const float boom = body.sine() * percussive(t, 0.001f, 0.22f);
    const float click = noiseSample(random) * percussive(t, 0.0005f, 0.004f) * 0.4f;
    const float sample = muffle.lowpass(softClip(1.6f * (boom + click)));
    out.emit(start + static_cast<size_t>(i), sample * level * 0.9f * tailFade(t, length));
  }
}

void playClap(MusicMix& mix, double time, float level) {
  VoiceOutput out(mix, {&mix.dry, 0.05f, 0.25f, EchoBus::kNone, 0.0f});
  const size_t start = frameAt(time);
  const float length = 0.35f;
  StateVariableFilter band;
  band.set(1300.0f, 1.2f);
  BakeRandom random(noiseSeed(start, 2));
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    // Three quick slaps, then the room's tail.
    float amp = percussive(t, 0.001f, 0.12f);
    for (int slap = 0; slap < 3; ++slap) {
      amp += 0.8f * percussive(t - 0.011f * static_cast<float>(slap), 0.0008f, 0.006f);
    }
    const float sample = band.bandpass(noiseSample(random)) * amp;
    out.emit(start + static_cast<size_t>(i), sample * level * 1.6f * tailFade(t, length));
  }
}

void playSnare(MusicMix& mix, double time, float level) {
  VoiceOutput out(mix, {&mix.dry, -0.05f, 0.2f, EchoBus::kNone, 0.0f});
  const size_t start = frameAt(time);
  const float length = 0.3f;
  Oscillator tone;
  tone.setFrequency(190.0);
  StateVariableFilter high;
  high.set(900.0f, 0.7f);
  BakeRandom random(noiseSeed(start, 3));
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    const float rattle = high.highpass(noiseSample(random)) * percussive(t, 0.001f, 0.09f);
    const float body = tone.sine() * percussive(t, 0.001f, 0.05f);
    out.emit(start + static_cast<size_t>(i), (0.8f * rattle + 0.6f * body) * level * tailFade(t, length));
  }
}

void playHat(MusicMix& mix, double time, float level, bool open, float pan) {
  VoiceOutput out(mix, {&mix.dry, pan, 0.08f, EchoBus::kNone, 0.0f});
  const size_t start = frameAt(time);
  const float decay = open ? 0.16f : 0.03f;
  const float length = decay * 6.0f;
  // Six detuned square partials make the metallic sheen; noise adds the hiss.
  static const double kRatios[6] = {2.0, 3.0, 4.16, 5.43, 6.79, 8.21};
  Oscillator partials[6];
  for (int p = 0; p < 6; ++p) {
    partials[p].setFrequency(330.0 * kRatios[p]);
  }
  StateVariableFilter high;
  high.set(7500.0f, 0.8f);
  BakeRandom random(noiseSeed(start, 4));
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    float metal = 0.0f;
    for (Oscillator& partial : partials) {
      metal += partial.square();
    }
    const float sample = high.highpass(metal * 0.12f + noiseSample(random) * 0.6f) * percussive(t, 0.0007f, decay);
    out.emit(start + static_cast<size_t>(i), sample * level * 0.7f * tailFade(t, length));
  }
}

void playCrash(MusicMix& mix, double time, float level) {
  const size_t start = frameAt(time);
  const float length = 2.6f;
  StateVariableFilter highLeft;
  StateVariableFilter highRight;
  highLeft.set(4200.0f, 0.7f);
  highRight.set(4600.0f, 0.7f);
  BakeRandom random(noiseSeed(start, 5));
  VoiceOutput out(mix, {&mix.dry, 0.0f, 0.3f, EchoBus::kNone, 0.0f});
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    const float amp = percussive(t, 0.002f, 0.55f) * level * 0.35f * tailFade(t, length);
    out.emitStereo(start + static_cast<size_t>(i), highLeft.highpass(noiseSample(random)) * amp,
                   highRight.highpass(noiseSample(random)) * amp);
  }
}

void playTom(MusicMix& mix, double time, float level, float note) {
  VoiceOutput out(mix, {&mix.dry, (note - 45.0f) * 0.05f, 0.25f, EchoBus::kNone, 0.0f});
  const size_t start = frameAt(time);
  const float length = 0.6f;
  Oscillator body;
  const double base = midiFrequency(note);
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    body.setFrequency(base * (1.0 + 0.6 * std::exp(-t / 0.05f)));
    out.emit(start + static_cast<size_t>(i), body.sine() * percussive(t, 0.002f, 0.16f) * level * 0.7f * tailFade(t, length));
  }
}

void playImpact(MusicMix& mix, double time, float level) {
  VoiceOutput out(mix, {&mix.dry, 0.0f, 0.5f, EchoBus::kNone, 0.0f});
  const size_t start = frameAt(time);
  const float length = 2.2f;
  Oscillator boom;
  StateVariableFilter low;
  low.set(900.0f, 0.7f);
  BakeRandom random(noiseSeed(start, 6));
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    boom.setFrequency(34.0 + 40.0 * std::exp(-t / 0.25f));
    const float rumble = low.lowpass(noiseSample(random)) * percussive(t, 0.002f, 0.3f);
    const float sample = softClip(1.5f * boom.sine() * percussive(t, 0.003f, 0.7f)) + 0.6f * rumble;
    out.emit(start + static_cast<size_t>(i), sample * level * 0.6f * tailFade(t, length));
  }
}

void playBass(MusicMix& mix, double time, double duration, float note, float level, float brightness) {
  VoiceOutput out(mix, {&mix.dry, 0.0f, 0.0f, EchoBus::kNone, 0.0f});
  const size_t start = frameAt(time);
  const Envelope envelope{0.004f, 0.12f, 0.75f, 0.04f};
  const float noteLength = static_cast<float>(duration);
  const float length = envelope.totalLength(noteLength);
  Oscillator saw;
  Oscillator sub;
  saw.setFrequency(midiFrequency(note));
  sub.setFrequency(midiFrequency(note - 12.0f));
  StateVariableFilter filter;
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    if (i % 16 == 0) {
      // The filter snaps open at the note's start and settles: the pluck of a synth bass.
      filter.set(180.0f + (300.0f + 2200.0f * brightness) * std::exp(-t / 0.09f) + 500.0f * brightness, 1.4f);
    }
    const float tone = filter.lowpass(saw.saw()) * 0.6f + sub.sine() * 0.45f;
    out.emit(start + static_cast<size_t>(i), softClip(tone) * envelope.at(t, noteLength) * level * 0.55f);
  }
}

void playPad(MusicMix& mix, double time, double duration, const std::vector<float>& notes, float level,
             float brightness, float attackSeconds, float releaseSeconds) {
  const size_t start = frameAt(time);
  const Envelope envelope{attackSeconds, 0.5f, 0.85f, releaseSeconds};
  const float noteLength = static_cast<float>(duration);
  const float length = envelope.totalLength(noteLength);
  VoiceOutput out(mix, {&mix.pumped, 0.0f, 0.35f, EchoBus::kNone, 0.0f});
  // Three saws per side, detuned apart, so the chord is wide and slowly beating.
  static const double kDetune[3] = {-0.11, 0.0, 0.13};
  const int frames = static_cast<int>(length * kMusicSampleRate);
  std::vector<float> left(static_cast<size_t>(frames), 0.0f);
  std::vector<float> right(static_cast<size_t>(frames), 0.0f);
  for (size_t n = 0; n < notes.size(); ++n) {
    Oscillator leftVoices[3];
    Oscillator rightVoices[3];
    for (int v = 0; v < 3; ++v) {
      leftVoices[v] = Oscillator(0.13 * v + 0.07 * static_cast<double>(n));
      rightVoices[v] = Oscillator(0.41 + 0.17 * v + 0.05 * static_cast<double>(n));
      leftVoices[v].setFrequency(midiFrequency(notes[n] + kDetune[v]));
      rightVoices[v].setFrequency(midiFrequency(notes[n] - kDetune[v] * 0.9));
    }
    StateVariableFilter leftFilter;
    StateVariableFilter rightFilter;
    const float cutoff = 350.0f + 4200.0f * brightness * brightness;
    leftFilter.set(cutoff, 0.9f);
    rightFilter.set(cutoff * 1.05f, 0.9f);
    for (int i = 0; i < frames; ++i) {
      float l = 0.0f;
      float r = 0.0f;
      for (int v = 0; v < 3; ++v) {
        l += leftVoices[v].saw();
        r += rightVoices[v].saw();
      }
      left[static_cast<size_t>(i)] += leftFilter.lowpass(l);
      right[static_cast<size_t>(i)] += rightFilter.lowpass(r);
    }
  }
  const float gain = level * 0.09f / std::sqrt(static_cast<float>(std::max<size_t>(1, notes.size())));
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    const float amp = envelope.at(t, noteLength) * gain;
    out.emitStereo(start + static_cast<size_t>(i), left[static_cast<size_t>(i)] * amp, right[static_cast<size_t>(i)] * amp);
  }
}

void playPluck(MusicMix& mix, double time, float note, float level, float pan, EchoBus echo) {
  VoiceOutput out(mix, {&mix.pumped, pan, 0.25f, echo, 0.35f});
  const size_t start = frameAt(time);
  const float length = 0.45f;
  Oscillator saw;
  Oscillator square(0.25);
  saw.setFrequency(midiFrequency(note));
  square.setFrequency(midiFrequency(note + 0.05f));
  StateVariableFilter filter;
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    if (i % 16 == 0) {
      filter.set(400.0f + 5000.0f * std::exp(-t / 0.06f), 1.6f);
    }
    const float tone = filter.lowpass(0.6f * saw.saw() + 0.4f * square.square());
    out.emit(start + static_cast<size_t>(i), tone * percussive(t, 0.002f, 0.14f) * level * 0.3f * tailFade(t, length));
  }
}

void playLead(MusicMix& mix, double time, double duration, float note, float level, EchoBus echo) {
  VoiceOutput out(mix, {&mix.pumped, 0.0f, 0.3f, echo, 0.3f});
  const size_t start = frameAt(time);
  const Envelope envelope{0.01f, 0.2f, 0.7f, 0.18f};
  const float noteLength = static_cast<float>(duration);
  const float length = envelope.totalLength(noteLength);
  Oscillator saw;
  Oscillator pulse(0.3);
  Oscillator vibrato;
  vibrato.setFrequency(5.5);
  const double base = midiFrequency(note);
  StateVariableFilter filter;
  filter.set(3200.0f, 1.1f);
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    // Vibrato creeps in on held notes.
    const float depth = 0.004f * std::min(1.0f, std::max(0.0f, (t - 0.25f) / 0.4f));
    const double frequency = base * (1.0 + depth * vibrato.sine());
    saw.setFrequency(frequency);
    pulse.setFrequency(frequency * 1.003);
    const float tone = filter.lowpass(0.6f * saw.saw() + 0.35f * pulse.square());
    out.emit(start + static_cast<size_t>(i), tone * envelope.at(t, noteLength) * level * 0.22f);
  }
}

void playBell(MusicMix& mix, double time, float note, float level) {
  VoiceOutput out(mix, {&mix.pumped, 0.25f, 0.5f, EchoBus::kSlow, 0.4f});
  const size_t start = frameAt(time);
  const float length = 2.5f;
  Oscillator carrier;
  Oscillator modulator;
  const double base = midiFrequency(note);
  modulator.setFrequency(base * 3.5);
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    // Frequency modulation whose depth fades: a bright strike mellowing to a pure tone.
    const float index = 2.5f * std::exp(-t / 0.4f);
    carrier.setFrequency(base * (1.0 + index * 0.35 * modulator.sine()));
    out.emit(start + static_cast<size_t>(i), carrier.sine() * percussive(t, 0.002f, 0.7f) * level * 0.25f * tailFade(t, length));
  }
}

void playRiser(MusicMix& mix, double time, double duration, float level) {
  VoiceOutput out(mix, {&mix.pumped, 0.0f, 0.4f, EchoBus::kNone, 0.0f});
  const size_t start = frameAt(time);
  const float length = static_cast<float>(duration);
  StateVariableFilter band;
  BakeRandom random(noiseSeed(start, 7));
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    const float progress = t / length;
    if (i % 16 == 0) {
      band.set(300.0f * std::pow(30.0f, progress), 2.5f);
    }
    const float amp = progress * progress * tailFade(t, length);
    out.emit(start + static_cast<size_t>(i), band.bandpass(noiseSample(random)) * amp * level * 0.5f);
  }
}

void playWind(MusicMix& mix, double time, double duration, float level) {
  const size_t start = frameAt(time);
  const float length = static_cast<float>(duration);
  StateVariableFilter leftBand;
  StateVariableFilter rightBand;
  BakeRandom random(noiseSeed(start, 8));
  VoiceOutput out(mix, {&mix.pumped, 0.0f, 0.3f, EchoBus::kNone, 0.0f});
  const int frames = static_cast<int>(length * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const float t = static_cast<float>(i) / kMusicSampleRate;
    if (i % 32 == 0) {
      // Gusts: the band wanders slowly.
      const float gust = 0.5f + 0.5f * std::sin(t * 0.9f) * std::sin(t * 0.37f + 1.0f);
      leftBand.set(500.0f + 900.0f * gust, 3.0f);
      rightBand.set(560.0f + 850.0f * gust, 3.0f);
    }
    const float swell = std::sin(kPi * std::min(1.0f, t / length));
    const float amp = swell * swell * level * 0.35f;
    out.emitStereo(start + static_cast<size_t>(i), leftBand.bandpass(noiseSample(random)) * amp,
                   rightBand.bandpass(noiseSample(random)) * amp);
  }
}

void duckUnderKick(MusicMix& mix, double time, float depth, double recoverySeconds) {
  const size_t start = frameAt(time);
  const int frames = static_cast<int>(recoverySeconds * 2.5 * kMusicSampleRate);
  for (int i = 0; i < frames; ++i) {
    const size_t frame = start + static_cast<size_t>(i);
    if (frame >= mix.duck.size()) {
      break;
    }
    const float t = static_cast<float>(i) / kMusicSampleRate;
    // A 4 ms dip, then a smooth return: the gain never jumps.
    const float dip = t < 0.004f ? t / 0.004f : std::exp(-(t - 0.004f) / static_cast<float>(recoverySeconds * 0.45));
    const float gain = 1.0f - depth * dip;
    mix.duck[frame] = std::min(mix.duck[frame], gain);
  }
}

}  // namespace baker
