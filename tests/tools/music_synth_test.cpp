#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "tools/music_instruments.h"
#include "tools/music_score.h"
#include "tools/music_synth.h"

using namespace baker;

namespace {

constexpr double kNoteStart = 0.5;

struct Voice {
  const char* name;
  std::function<void(MusicMix&)> play;
  bool tonal;  // noise voices change sign from sample to sample by nature
};

std::vector<Voice> everyVoice() {
  const std::vector<float> chord = {57.0f, 60.0f, 64.0f};
  return {
      {"kick", [](MusicMix& m) { playKick(m, kNoteStart, 1.0f); }, false},
      {"clap", [](MusicMix& m) { playClap(m, kNoteStart, 1.0f); }, false},
      {"snare", [](MusicMix& m) { playSnare(m, kNoteStart, 1.0f); }, false},
      {"closed hat", [](MusicMix& m) { playHat(m, kNoteStart, 1.0f, false, 0.3f); }, false},
      {"open hat", [](MusicMix& m) { playHat(m, kNoteStart, 1.0f, true, -0.3f); }, false},
      {"crash", [](MusicMix& m) { playCrash(m, kNoteStart, 1.0f); }, false},
      {"tom", [](MusicMix& m) { playTom(m, kNoteStart, 1.0f, 45.0f); }, true},
      {"impact", [](MusicMix& m) { playImpact(m, kNoteStart, 1.0f); }, false},
      {"bass", [](MusicMix& m) { playBass(m, kNoteStart, 0.3, 45.0f, 1.0f, 0.8f); }, true},
      {"pad", [chord](MusicMix& m) { playPad(m, kNoteStart, 0.6, chord, 1.0f, 0.7f, 0.05f, 0.4f); }, true},
      {"stab", [chord](MusicMix& m) { playPad(m, kNoteStart, 0.05, chord, 1.0f, 0.7f, 0.003f, 0.02f); }, true},
      {"pluck", [](MusicMix& m) { playPluck(m, kNoteStart, 72.0f, 1.0f, 0.4f, EchoBus::kSlow); }, true},
      {"lead", [](MusicMix& m) { playLead(m, kNoteStart, 0.4, 76.0f, 1.0f, EchoBus::kFast); }, true},
      {"bell", [](MusicMix& m) { playBell(m, kNoteStart, 79.0f, 1.0f); }, true},
      {"riser", [](MusicMix& m) { playRiser(m, kNoteStart, 1.0, 1.0f); }, false},
      {"wind", [](MusicMix& m) { playWind(m, kNoteStart, 1.5, 1.0f); }, false},
  };
}

TEST(MusicInstrumentsTest, everyVoiceStartsAndEndsWithoutAStep) {
  for (const Voice& voice : everyVoice()) {
    MusicMix mix(4.0);
    voice.play(mix);
    const size_t start = frameAt(kNoteStart);
    for (const StereoTrack* track : {&mix.dry, &mix.pumped}) {
      for (const MonoTrack* channel : {&track->left, &track->right}) {
        const std::vector<float>& s = channel->samples;
        float peak = 0.0f;
        for (float v : s) peak = std::max(peak, std::fabs(v));
        if (peak == 0.0f) continue;
        for (size_t i = 0; i < start; ++i) {
          ASSERT_EQ(s[i], 0.0f) << voice.name << " sounds before its start";
        }
        EXPECT_LT(std::fabs(s[start]), 0.05f * peak) << voice.name << " starts with a jump";
        size_t last = s.size();
        while (last > 0 && s[last - 1] == 0.0f) --last;
        ASSERT_LT(last, s.size()) << voice.name << " still sounds at the end of the test mix";
        EXPECT_LT(std::fabs(s[last - 1]), 0.01f * peak) << voice.name << " stops with a jump";
        if (voice.tonal) {
          // A click is a first step larger than anything the waveform itself does later.
          const size_t attackEnd = start + 88;
          float attackStep = 0.0f;
          float laterStep = 0.0f;
          for (size_t i = start; i + 1 < last; ++i) {
            float& step = i < attackEnd ? attackStep : laterStep;
            step = std::max(step, std::fabs(s[i + 1] - s[i]));
          }
          EXPECT_LE(attackStep, 1.1f * laterStep) << voice.name << " clicks in its attack";
        }
      }
    }
  }
}

TEST(MusicInstrumentsTest, duckingBendsTheGainWithoutSteps) {
  MusicMix mix(2.0);
  duckUnderKick(mix, 0.5, 0.6f, 0.5);
  duckUnderKick(mix, 1.0, 0.6f, 0.5);
  float lowest = 1.0f;
  float largestStep = 0.0f;
  for (size_t i = 0; i + 1 < mix.duck.size(); ++i) {
    lowest = std::min(lowest, mix.duck[i]);
    largestStep = std::max(largestStep, std::fabs(mix.duck[i + 1] - mix.duck[i]));
  }
  EXPECT_NEAR(lowest, 0.4f, 0.01f);
  EXPECT_LT(largestStep, 0.01f);
  EXPECT_EQ(mix.duck[frameAt(0.5) - 1], 1.0f);
}

// Loudness of the track's stretch [from, to) seconds, in dB of full scale.
double rmsDb(const std::vector<std::int16_t>& pcm, double from, double to) {
  const size_t first = static_cast<size_t>(from * kMusicSampleRate) * 2;
  const size_t last = std::min(pcm.size(), static_cast<size_t>(to * kMusicSampleRate) * 2);
  double sum = 0.0;
  for (size_t i = first; i < last; ++i) sum += static_cast<double>(pcm[i]) * pcm[i];
  const double rms = std::sqrt(sum / static_cast<double>(std::max<size_t>(1, last - first))) / 32768.0;
  return 20.0 * std::log10(std::max(rms, 1e-9));
}

TEST(MusicSynthTest, trackIsLongEnoughNeverClipsAndKeepsASteadyLevel) {
  const std::vector<std::int16_t> pcm = synthesiseTrack();
  ASSERT_EQ(pcm.size(), frameAt(kTrackSeconds) * 2);
  ASSERT_GE(kTrackSeconds, 156.0);

  // Mastered to -1.9 dB of full scale, room for the encoder's overshoot.
  const auto [low, high] = std::minmax_element(pcm.begin(), pcm.end());
  EXPECT_LT(std::max(-static_cast<int>(*low), static_cast<int>(*high)), 26300);

  std::vector<double> levels;
  for (double t = 15.0; t < 150.0; t += 5.0) levels.push_back(rmsDb(pcm, t, t + 5.0));
  std::vector<double> sorted = levels;
  std::sort(sorted.begin(), sorted.end());
  const double median = sorted[sorted.size() / 2];
  for (size_t i = 0; i < levels.size(); ++i) {
    EXPECT_NEAR(levels[i], median, 4.0) << "the level jumps at " << 15 + 5 * i << " s";
  }
  for (double t = 1.0; t < 150.0; t += 1.0) {
    EXPECT_GT(rmsDb(pcm, t, t + 1.0), median - 15.0) << "a gap at " << t << " s";
  }
  EXPECT_LT(rmsDb(pcm, 0.0, 5.0), median - 3.0) << "the intro should be quiet";
  EXPECT_LT(rmsDb(pcm, 155.0, kTrackSeconds), -50.0) << "the ending should have died away";
}

}  // namespace
