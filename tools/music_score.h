// The arrangement of the baked track, following the presentation: a quiet intro, palms growing
// from 8 s, windmills landing 13 to 21 s, missiles from 20 s, stutters at 30 to 33 s while the
// view pumps, a build to the drop at 49 s, a breakdown from 80 s, then from 90 s the title
// section at a new tempo, changing every 15 s, and the ending at 150 to 154 s.
#pragma once

#include <vector>

#include "tools/music_instruments.h"

namespace baker {

constexpr double kTrackSeconds = 157.0;
constexpr double kTitlesStart = 90.0;

// Beats of one tempo counted from a start time.
struct BeatGrid {
  double start;
  double beatSeconds;
  double at(double beat) const { return start + beat * beatSeconds; }
};

// A chord: the bass's root and the pad's voicing, as MIDI notes.
struct Chord {
  float root;
  std::vector<float> voicing;
};

// A melody note: when (beats from the phrase's start), how long (beats), which note.
struct MelodyNote {
  float beat;
  float beats;
  float note;
};

Chord transposed(const Chord& chord, float semitones);

// Chords by name, in A minor's neighbourhood.
Chord chordAm();
Chord chordF();
Chord chordC();
Chord chordG();
Chord chordEm();
Chord chordDm();
Chord chordE();

// The main theme, eight bars over Am F C G, and the titles' second theme over F G Em Am.
const std::vector<MelodyNote>& mainTheme();
const std::vector<MelodyNote>& titleTheme();

// Plays the notes of `melody` whose beat lies in [fromBeat, toBeat), on `grid`, shifted by
// `transpose` semitones.
void playMelody(MusicMix& mix, const BeatGrid& grid, const std::vector<MelodyNote>& melody, float fromBeat,
                float toBeat, float phraseStartBeat, float transpose, float level, EchoBus echo);

// Sixteenth-note arpeggio over the chord for one bar starting at `beat`.
void playArpeggioBar(MusicMix& mix, const BeatGrid& grid, double beat, const Chord& chord, float level, EchoBus echo);

// Four-on-the-floor kick for one bar, ducking the pads under each hit when `pump` > 0.
void playKickBar(MusicMix& mix, const BeatGrid& grid, double beat, float level, float pump);

// The two parts of the track.
void composeOutdoorPart(MusicMix& mix);
void composeTitlePart(MusicMix& mix);

}  // namespace baker
