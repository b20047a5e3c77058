// The track's second part, from 90 s at 128 beats per minute: eight bars (15 s) per title, so
// every text's arrival starts a new section, and the last chord at 150 s rings out by 154 s.
#include <cmath>

#include "tools/music_score.h"

namespace baker {

namespace {

constexpr double kBeatSeconds = 60.0 / 128.0;
constexpr int kBeatsPerBar = 4;
constexpr int kBarsPerTitle = 8;
const BeatGrid kTitleGrid{kTitlesStart, kBeatSeconds};

// The chord of bar `bar` (counted from 90 s) for each title section.
Chord titleChord(int bar) {
  static const Chord first[4] = {chordAm(), chordF(), chordC(), chordG()};
  static const Chord second[4] = {chordF(), chordG(), chordEm(), chordAm()};
  const int section = bar / kBarsPerTitle;
  if (section == 1) {
    return second[bar % 4];
  }
  // The last two sections lift the first progression a whole tone.
  return transposed(first[bar % 4], section >= 2 ? 2.0f : 0.0f);
}

struct SectionStyle {
  float energy;   // 0 sparse .. 1 full
  bool clap;
  bool rollingBass;
  float pump;
};

void playTitleBar(MusicMix& mix, int bar, const SectionStyle& style) {
  const Chord chord = titleChord(bar);
  const double beat = bar * kBeatsPerBar;
  playKickBar(mix, kTitleGrid, beat, 0.85f + 0.15f * style.energy, style.pump);
  if (style.clap) {
    playClap(mix, kTitleGrid.at(beat + 1), 0.8f);
    playClap(mix, kTitleGrid.at(beat + 3), 0.8f);
  }
  for (int k = 0; k < 16; ++k) {
    const bool offbeat = k % 4 == 2;
    if (offbeat || style.energy > 0.6f) {
      playHat(mix, kTitleGrid.at(beat + k * 0.25), offbeat ? 0.7f : 0.3f, offbeat && k == 14, offbeat ? 0.25f : -0.3f);
    }
    const bool bassStep = style.rollingBass ? k % 4 != 0 : offbeat;
    if (bassStep) {
      const float note = chord.root + (style.rollingBass && k % 4 == 3 ? 12.0f : 0.0f);
      playBass(mix, kTitleGrid.at(beat + k * 0.25), kBeatSeconds * (style.rollingBass ? 0.22 : 0.45), note, 1.0f,
               0.4f + 0.45f * style.energy);
    }
  }
  playPad(mix, kTitleGrid.at(beat), kBeatsPerBar * kBeatSeconds, chord.voicing, 0.95f, 0.5f + 0.35f * style.energy, 0.03f, 0.6f);
  playArpeggioBar(mix, kTitleGrid, beat, transposed(chord, style.energy > 0.8f ? 12.0f : 0.0f), 0.55f, EchoBus::kFast);
}

void playSectionStart(MusicMix& mix, int bar) {
  playCrash(mix, kTitleGrid.at(bar * kBeatsPerBar), 0.85f);
  playImpact(mix, kTitleGrid.at(bar * kBeatsPerBar), 0.6f);
}

// A snare run over the last bar of a section.
void playSectionFill(MusicMix& mix, int bar) {
  for (int step = 8; step < 16; ++step) {
    playSnare(mix, kTitleGrid.at(bar * kBeatsPerBar + step * 0.25), 0.35f + 0.05f * step);
  }
}

void composeEnding(MusicMix& mix) {
  // 150 s: one last hit on B minor, left to ring until about 154 s.
  const double end = kTitleGrid.at(4 * kBarsPerTitle * kBeatsPerBar);
  const Chord last = transposed(chordAm(), 2.0f);
  playImpact(mix, end, 1.0f);
  playCrash(mix, end, 1.0f);
  playKick(mix, end, 1.0f);
  playPad(mix, end, 1.2, last.voicing, 1.1f, 0.7f, 0.01f, 2.6f);
  playBass(mix, end, 1.6, last.root, 1.0f, 0.5f);
  playLead(mix, end, 1.4, 83.0f, 0.7f, EchoBus::kFast);
  playBell(mix, end, 83.0f, 0.8f);
  playBell(mix, end + 0.5, 78.0f, 0.6f);
}

}  // namespace

void composeTitlePart(MusicMix& mix) {
  const SectionStyle styles[4] = {
      {0.45f, false, false, 0.35f},  // first title: light, the arpeggio leads
      {0.75f, true, true, 0.5f},     // second title: full groove and the second theme
      {0.85f, true, true, 0.55f},    // third title: a tone higher, the main theme returns
      {1.0f, true, true, 0.6f},      // fourth title: everything
  };
  for (int section = 0; section < 4; ++section) {
    playSectionStart(mix, section * kBarsPerTitle);
    for (int bar = section * kBarsPerTitle; bar < (section + 1) * kBarsPerTitle; ++bar) {
      playTitleBar(mix, bar, styles[section]);
    }
    playSectionFill(mix, (section + 1) * kBarsPerTitle - 1);
  }
  // Clap enters half way through the first title.
  for (int bar = 4; bar < kBarsPerTitle; ++bar) {
    playClap(mix, kTitleGrid.at(bar * kBeatsPerBar + 1), 0.6f);
    playClap(mix, kTitleGrid.at(bar * kBeatsPerBar + 3), 0.6f);
  }
  const float barBeats = static_cast<float>(kBeatsPerBar);
  playMelody(mix, kTitleGrid, titleTheme(), 8.0f * barBeats, 16.0f * barBeats, 8.0f * barBeats, 0.0f, 0.8f, EchoBus::kFast);
  playMelody(mix, kTitleGrid, mainTheme(), 16.0f * barBeats, 32.0f * barBeats, 16.0f * barBeats, 2.0f, 0.85f, EchoBus::kFast);
  composeEnding(mix);
}

}  // namespace baker
