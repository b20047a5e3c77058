// The track's shared material (chords, themes, bar patterns) and its first part, 0 to 90 s at
// 120 beats per minute: two seconds a bar, so the scene's cues at 8, 20, 30 and 80 s fall on bar
// lines and the drop at 49 s on a half bar, where the build's last bar is cut short.
//
// Sections: shared material; intro and growth (0-20 s); missiles and stutters (20-33 s);
// build and drop (33-80 s); breakdown (80-90 s).
#include "tools/music_score.h"

#include <cmath>

namespace baker {

namespace {

constexpr double kBeatSeconds = 0.5;
constexpr int kBeatsPerBar = 4;
const BeatGrid kOutdoorGrid{0.0, kBeatSeconds};

const Chord& progressionA(int bar) {
  static const Chord chords[4] = {chordAm(), chordF(), chordC(), chordG()};
  return chords[((bar % 4) + 4) % 4];
}

}  // namespace

// ---- Shared material ----

Chord transposed(const Chord& chord, float semitones) {
  Chord result = chord;
  result.root += semitones;
  for (float& note : result.voicing) {
    note += semitones;
  }
  return result;
}

Chord chordAm() { return {45.0f, {57.0f, 60.0f, 64.0f, 69.0f}}; }
Chord chordF() { return {41.0f, {57.0f, 60.0f, 65.0f, 69.0f}}; }
Chord chordC() { return {48.0f, {55.0f, 60.0f, 64.0f, 67.0f}}; }
Chord chordG() { return {43.0f, {55.0f, 59.0f, 62.0f, 67.0f}}; }
Chord chordEm() { return {40.0f, {55.0f, 59.0f, 64.0f, 67.0f}}; }
Chord chordDm() { return {50.0f, {57.0f, 62.0f, 65.0f, 69.0f}}; }
Chord chordE() { return {40.0f, {56.0f, 59.0f, 64.0f, 68.0f}}; }

const std::vector<MelodyNote>& mainTheme() {
  // E5 = 76, D5 = 74, C5 = 72, B4 = 71, A4 = 69, G4 = 67, F4 = 65; bars of four beats.
  static const std::vector<MelodyNote> theme = {
      {0.0f, 1.0f, 76}, {1.0f, 0.5f, 74}, {1.5f, 0.5f, 72}, {2.0f, 1.0f, 69}, {3.0f, 0.5f, 72}, {3.5f, 0.5f, 74},
      {4.0f, 1.5f, 72}, {5.5f, 0.5f, 69}, {6.0f, 1.0f, 65}, {7.0f, 0.5f, 69}, {7.5f, 0.5f, 72},
      {8.0f, 1.0f, 76}, {9.0f, 1.0f, 79}, {10.0f, 0.5f, 76}, {10.5f, 0.5f, 74}, {11.0f, 1.0f, 72},
      {12.0f, 1.5f, 74}, {13.5f, 0.5f, 71}, {14.0f, 1.0f, 67}, {15.0f, 0.5f, 71}, {15.5f, 0.5f, 74},
      {16.0f, 1.0f, 81}, {17.0f, 0.5f, 79}, {17.5f, 0.5f, 76}, {18.0f, 1.0f, 72}, {19.0f, 1.0f, 76},
      {20.0f, 1.5f, 77}, {21.5f, 0.5f, 76}, {22.0f, 1.0f, 72}, {23.0f, 1.0f, 69},
      {24.0f, 1.0f, 79}, {25.0f, 0.5f, 76}, {25.5f, 0.5f, 79}, {26.0f, 1.0f, 84}, {27.0f, 0.5f, 83}, {27.5f, 0.5f, 79},
      {28.0f, 1.0f, 74}, {29.0f, 1.0f, 71}, {30.0f, 2.0f, 74},
  };
  return theme;
}

const std::vector<MelodyNote>& titleTheme() {
  static const std::vector<MelodyNote> theme = {
      {0.0f, 0.5f, 69}, {0.5f, 0.5f, 72}, {1.0f, 1.0f, 77}, {2.0f, 1.0f, 76}, {3.0f, 1.0f, 72},
      {4.0f, 0.5f, 74}, {4.5f, 0.5f, 71}, {5.0f, 1.0f, 67}, {6.0f, 1.0f, 71}, {7.0f, 1.0f, 74},
      {8.0f, 1.5f, 76}, {9.5f, 0.5f, 79}, {10.0f, 1.0f, 83}, {11.0f, 1.0f, 79},
      {12.0f, 2.0f, 81}, {14.0f, 1.0f, 76}, {15.0f, 1.0f, 72},
      {16.0f, 1.0f, 84}, {17.0f, 1.0f, 81}, {18.0f, 1.0f, 77}, {19.0f, 1.0f, 81},
      {20.0f, 1.0f, 83}, {21.0f, 1.0f, 79}, {22.0f, 1.0f, 74}, {23.0f, 1.0f, 79},
      {24.0f, 1.5f, 83}, {25.5f, 0.5f, 81}, {26.0f, 1.0f, 79}, {27.0f, 1.0f, 76},
      {28.0f, 3.0f, 81},
  };
  return theme;
}

void playMelody(MusicMix& mix, const BeatGrid& grid, const std::vector<MelodyNote>& melody, float fromBeat,
                float toBeat, float phraseStartBeat, float transpose, float level, EchoBus echo) {
  // The phrase repeats every 32 beats from phraseStartBeat.
  const float phraseBeats = 32.0f;
  for (float phrase = phraseStartBeat; phrase < toBeat; phrase += phraseBeats) {
    for (const MelodyNote& note : melody) {
      const float beat = phrase + note.beat;
      if (beat < fromBeat || beat >= toBeat) {
        continue;
      }
      playLead(mix, grid.at(beat), note.beats * grid.beatSeconds * 0.92, note.note + transpose, level, echo);
    }
  }
}

void playArpeggioBar(MusicMix& mix, const BeatGrid& grid, double beat, const Chord& chord, float level, EchoBus echo) {
  // Up through the voicing and an octave above, then back down: sixteen steps per bar.
  static const int kPattern[16] = {0, 1, 2, 3, 4, 5, 6, 7, 6, 5, 4, 3, 2, 1, 2, 3};
  const size_t count = chord.voicing.size();
  for (int step = 0; step < 16; ++step) {
    const int index = kPattern[step];
    const float note = chord.voicing[static_cast<size_t>(index) % count] + 12.0f * static_cast<float>(index / static_cast<int>(count));
    const float accent = step % 4 == 0 ? 1.0f : 0.75f;
    const float pan = step % 2 == 0 ? -0.45f : 0.45f;
    playPluck(mix, grid.at(beat + step * 0.25), note, level * accent, pan, echo);
  }
}

void playKickBar(MusicMix& mix, const BeatGrid& grid, double beat, float level, float pump) {
  for (int k = 0; k < kBeatsPerBar; ++k) {
    playKick(mix, grid.at(beat + k), level);
    if (pump > 0.0f) {
      duckUnderKick(mix, grid.at(beat + k), pump, grid.beatSeconds);
    }
  }
}

// ---- Intro and growth (0-20 s) ----

namespace {

void composeIntro(MusicMix& mix) {
  playWind(mix, 0.0, 12.0, 0.6);
  for (int bar = 0; bar < 10; ++bar) {
    // The pads open and swell slowly as the world fills up.
    const float brightness = 0.15f + 0.04f * static_cast<float>(bar);
    const float level = std::fmin(1.0f, 0.5f + 0.06f * static_cast<float>(bar));
    playPad(mix, kOutdoorGrid.at(bar * kBeatsPerBar), 2.0, progressionA(bar).voicing, level, brightness, bar == 0 ? 2.0f : 0.4f);
  }
  // A bell figure over the first bars.
  const MelodyNote bells[] = {{8.0f, 0, 76}, {9.5f, 0, 72}, {11.0f, 0, 69}, {12.0f, 0, 79}, {13.5f, 0, 76}, {15.0f, 0, 74}};
  for (const MelodyNote& bell : bells) {
    playBell(mix, kOutdoorGrid.at(bell.beat), bell.note, 0.6f);
  }
}

void composeGrowth(MusicMix& mix) {
  // Palms from 8 s: a rising arpeggio, then shakers.
  for (int bar = 4; bar < 15; ++bar) {
    const float level = std::fmin(0.9f, 0.25f + 0.08f * static_cast<float>(bar - 4));
    playArpeggioBar(mix, kOutdoorGrid, bar * kBeatsPerBar, progressionA(bar), level, EchoBus::kSlow);
  }
  for (double beat = 20.0; beat < 40.0; beat += 0.5) {
    playHat(mix, kOutdoorGrid.at(beat + 0.5), beat < 24.0 ? 0.35f : 0.55f, false, 0.3f);
  }
  // Windmills from 12 s: the bass, then a muffled kick from 13 s that opens up toward 20 s.
  for (int bar = 6; bar < 10; ++bar) {
    for (int beat = 0; beat < kBeatsPerBar; ++beat) {
      playBass(mix, kOutdoorGrid.at(bar * kBeatsPerBar + beat + 0.5), 0.22, progressionA(bar).root, 0.9f, 0.3f);
    }
  }
  for (double beat = 26.0; beat < 40.0; beat += 1.0) {
    const float opening = static_cast<float>((beat - 26.0) / 14.0);
    playKick(mix, kOutdoorGrid.at(beat), 0.75f + 0.25f * opening, 0.3f + 0.7f * opening);
  }
  // Landing thuds and a tom run into the missiles.
  for (double beat : {26.0, 29.5, 33.0, 36.5}) {
    playTom(mix, kOutdoorGrid.at(beat), 0.8f, 38.0f);
  }
  for (int step = 0; step < 8; ++step) {
    playTom(mix, kOutdoorGrid.at(38.0 + step * 0.25), 0.5f + 0.05f * step, 52.0f - 2.0f * step);
  }
}

// ---- Missiles and stutters (20-33 s) ----

void playGrooveBar(MusicMix& mix, const BeatGrid& grid, double beat, const Chord& chord, float energy, float pump) {
  playKickBar(mix, grid, beat, 1.0f, pump);
  playClap(mix, grid.at(beat + 1), 0.8f);
  playClap(mix, grid.at(beat + 3), 0.8f);
  for (int k = 0; k < kBeatsPerBar; ++k) {
    playHat(mix, grid.at(beat + k + 0.5), 0.7f, k == 3, 0.25f);
    if (energy > 0.6f) {
      playHat(mix, grid.at(beat + k + 0.25), 0.3f, false, -0.3f);
      playHat(mix, grid.at(beat + k + 0.75), 0.3f, false, -0.3f);
    }
    playBass(mix, grid.at(beat + k + 0.5), grid.beatSeconds * 0.45, chord.root, 1.0f, 0.35f + 0.5f * energy);
  }
  playPad(mix, grid.at(beat), grid.beatSeconds * 4.0, chord.voicing, 0.85f, 0.45f + 0.4f * energy, 0.05f, 0.6f);
}

void composeMissiles(MusicMix& mix) {
  playImpact(mix, 20.0, 1.0f);
  playCrash(mix, 20.0, 1.0f);
  for (int bar = 10; bar < 15; ++bar) {
    playGrooveBar(mix, kOutdoorGrid, bar * kBeatsPerBar, progressionA(bar), 0.4f, 0.45f);
  }
  playMelody(mix, kOutdoorGrid, mainTheme(), 40.0f, 56.0f, 32.0f, 0.0f, 0.8f, EchoBus::kSlow);
}

void composeStutter(MusicMix& mix) {
  // 30 to 33 s, in step with the view's 0.2 s pumping: chord stabs and claps repeat every 0.2 s,
  // then 0.1 s, then 0.05 s, climbing in pitch, over a riser.
  playKick(mix, 30.0, 1.0f);
  playRiser(mix, 30.0, 3.0, 0.9f);
  double time = 30.0;
  while (time < 33.0 - 1e-6) {
    const double step = time < 31.6 ? 0.2 : (time < 32.6 ? 0.1 : 0.05);
    const float progress = static_cast<float>((time - 30.0) / 3.0);
    const Chord chord = transposed(time < 32.0 ? chordG() : chordAm(), std::floor(progress * 6.0f));
    playPad(mix, time, step * 0.55, chord.voicing, 0.8f + 0.3f * progress, 0.6f + 0.3f * progress, 0.003f, 0.02f);
    playClap(mix, time, 0.45f + 0.4f * progress);
    playBass(mix, time, step * 0.5, chord.root, 0.7f, 0.6f);
    time += step;
  }
}

// ---- Build and drop (33-80 s) ----

void composeBuild(MusicMix& mix) {
  playCrash(mix, 33.0, 0.9f);
  playImpact(mix, 33.0, 0.7f);
  // From the half bar at 33 s to 41 s the groove runs; then it winds up to the drop.
  for (int bar = 16; bar < 24; ++bar) {
    const double firstBeat = bar == 16 ? 66.0 : bar * kBeatsPerBar;
    const float lift = static_cast<float>(bar - 16) / 8.0f;
    const Chord& chord = progressionA(bar);
    for (double beat = firstBeat; beat < (bar + 1) * kBeatsPerBar; beat += 1.0) {
      const bool kickStops = beat >= 94.0;
      if (!kickStops) {
        playKick(mix, kOutdoorGrid.at(beat), 1.0f);
        duckUnderKick(mix, kOutdoorGrid.at(beat), 0.45f, kBeatSeconds);
      }
      playHat(mix, kOutdoorGrid.at(beat + 0.5), 0.7f, false, 0.25f);
      playBass(mix, kOutdoorGrid.at(beat + 0.5), kBeatSeconds * 0.45, chord.root, 1.0f, 0.5f + 0.4f * lift);
    }
    playPad(mix, kOutdoorGrid.at(firstBeat), (bar + 1) * kBeatsPerBar * kBeatSeconds - kOutdoorGrid.at(firstBeat),
            chord.voicing, 0.85f, 0.5f + 0.45f * lift, 0.05f, 0.6f);
    if (bar < 20) {
      playClap(mix, kOutdoorGrid.at(bar * kBeatsPerBar + 1), 0.8f);
      playClap(mix, kOutdoorGrid.at(bar * kBeatsPerBar + 3), 0.8f);
      playArpeggioBar(mix, kOutdoorGrid, bar * kBeatsPerBar, chord, 0.6f, EchoBus::kSlow);
    }
  }
  playMelody(mix, kOutdoorGrid, mainTheme(), 68.0f, 84.0f, 64.0f, 0.0f, 0.8f, EchoBus::kSlow);
  // The snare roll tightens from eighths to thirty-seconds between 41 and 48 s.
  for (double beat = 82.0; beat < 96.0;) {
    const float progress = static_cast<float>((beat - 82.0) / 14.0);
    playSnare(mix, kOutdoorGrid.at(beat), 0.35f + 0.6f * progress);
    beat += beat < 90.0 ? 0.5 : (beat < 94.0 ? 0.25 : 0.125);
  }
  playRiser(mix, 41.0, 7.9, 1.0f);
}

void composeDrop(MusicMix& mix) {
  // The drop keeps two-second bars counted from 49 s; its last half bar (79-80 s) is a fill.
  const BeatGrid grid{49.0, kBeatSeconds};
  playImpact(mix, 49.0, 1.0f);
  playCrash(mix, 49.0, 1.0f);
  for (int bar = 0; bar < 15; ++bar) {
    const Chord& chord = progressionA(bar);
    const double beat = bar * kBeatsPerBar;
    playKickBar(mix, grid, beat, 1.0f, 0.6f);
    playClap(mix, grid.at(beat + 1), 0.85f);
    playClap(mix, grid.at(beat + 3), 0.85f);
    for (int k = 0; k < 16; ++k) {
      playHat(mix, grid.at(beat + k * 0.25), k % 4 == 2 ? 0.75f : 0.35f, k % 8 == 6, k % 2 == 0 ? 0.25f : -0.25f);
      // Rolling sixteenth bass, leaving the kick's own sixteenth free.
      if (k % 4 != 0) {
        playBass(mix, grid.at(beat + k * 0.25), kBeatSeconds * 0.22, chord.root + (k % 4 == 3 ? 12.0f : 0.0f), 1.0f, 0.85f);
      }
    }
    playPad(mix, grid.at(beat), 2.0, chord.voicing, 1.0f, 0.85f, 0.02f, 0.5f);
    playArpeggioBar(mix, grid, beat, transposed(chord, 12.0f), 0.5f, EchoBus::kSlow);
    if (bar % 8 == 0) {
      playCrash(mix, grid.at(beat), 0.7f);
    }
  }
  playMelody(mix, grid, mainTheme(), 0.0f, 60.0f, 0.0f, 0.0f, 0.85f, EchoBus::kSlow);
  // The fill: a snare run and toms down into the breakdown.
  for (int step = 0; step < 8; ++step) {
    const double beat = 60.0 + step * 0.25;
    if (step < 4) {
      playSnare(mix, grid.at(beat), 0.6f + 0.08f * step);
    } else {
      playTom(mix, grid.at(beat), 0.8f, 50.0f - 3.0f * (step - 4));
    }
  }
}

// ---- Breakdown (80-90 s) ----

void composeBreakdown(MusicMix& mix) {
  const BeatGrid grid{80.0, kBeatSeconds};
  playImpact(mix, 80.0, 0.9f);
  playCrash(mix, 80.0, 0.8f);
  playWind(mix, 80.0, 10.0, 0.6f);
  const Chord chords[5] = {chordF(), chordEm(), chordDm(), chordE(), chordE()};
  for (int bar = 0; bar < 5; ++bar) {
    const double beat = bar * kBeatsPerBar;
    playPad(mix, grid.at(beat), 2.0, chords[bar].voicing, 1.1f, 0.3f + 0.05f * bar, bar == 0 ? 0.8f : 0.4f, 1.2f);
    playBass(mix, grid.at(beat), 1.8, chords[bar].root, 0.8f, 0.1f);
  }
  // A slow line far away, each note a tone of its chord, rising to the leading note over E.
  const MelodyNote echoes[] = {{0.0f, 2.0f, 72}, {2.0f, 2.0f, 69}, {4.0f, 4.0f, 71}, {8.0f, 2.0f, 69},
                               {10.0f, 2.0f, 65}, {12.0f, 4.0f, 68}, {16.0f, 4.0f, 71}};
  for (const MelodyNote& note : echoes) {
    playLead(mix, grid.at(note.beat), note.beats * kBeatSeconds, note.note, 0.55f, EchoBus::kSlow);
  }
  // A heartbeat returns, then a riser and a snare roll hand over to the titles at 90 s.
  for (double beat = 12.0; beat < 20.0; beat += 1.0) {
    playKick(mix, grid.at(beat), 0.5f + 0.06f * static_cast<float>(beat - 12.0), 0.35f);
  }
  playRiser(mix, 86.0, 4.0, 0.8f);
  for (double beat = 18.0; beat < 20.0; beat += 0.25) {
    playSnare(mix, grid.at(beat), 0.3f + 0.25f * static_cast<float>(beat - 18.0));
  }
}

}  // namespace

void composeOutdoorPart(MusicMix& mix) {
  composeIntro(mix);
  composeGrowth(mix);
  composeMissiles(mix);
  composeStutter(mix);
  composeBuild(mix);
  composeDrop(mix);
  composeBreakdown(mix);
}

}  // namespace baker
