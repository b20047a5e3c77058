// The instruments of the baked music, each playing one note or hit into the mix: drums, bass,
// pads, plucks, a lead, a bell and effects. Times are in seconds from the track's start, notes
// are MIDI numbers (69 = A4), levels are linear (1 = the instrument's full voice).
#pragma once

#include <vector>

#include "tools/music_dsp.h"

namespace baker {

// The buses the instruments play into; the effects and the master stage mix them down.
struct MusicMix {
  explicit MusicMix(double seconds);

  StereoTrack dry;     // drums and bass, straight to the master
  StereoTrack pumped;  // pads, plucks, lead and bell: ducked under the kick where asked
  MonoTrack reverbSend;
  MonoTrack echoSendSlow;  // echoes timed for the 120 beats-per-minute part
  MonoTrack echoSendFast;  // echoes timed for the 128 beats-per-minute part
  std::vector<float> duck;  // gain on `pumped`, per frame
};

enum class EchoBus { kNone, kSlow, kFast };

void playKick(MusicMix& mix, double time, float level, float brightness = 1.0f);
void playClap(MusicMix& mix, double time, float level);
void playSnare(MusicMix& mix, double time, float level);
void playHat(MusicMix& mix, double time, float level, bool open, float pan);
void playCrash(MusicMix& mix, double time, float level);
void playTom(MusicMix& mix, double time, float level, float note);
void playImpact(MusicMix& mix, double time, float level);

// brightness 0..1 opens the filter from a dull thump to a biting saw.
void playBass(MusicMix& mix, double time, double duration, float note, float level, float brightness);
void playPad(MusicMix& mix, double time, double duration, const std::vector<float>& notes, float level,
             float brightness, float attackSeconds, float releaseSeconds = 1.2f);
void playPluck(MusicMix& mix, double time, float note, float level, float pan, EchoBus echo);
void playLead(MusicMix& mix, double time, double duration, float note, float level, EchoBus echo);
void playBell(MusicMix& mix, double time, float note, float level);

// A noise sweep rising over `duration` into the next section.
void playRiser(MusicMix& mix, double time, double duration, float level);
// Soft wind for the opening: filtered noise swelling in and out.
void playWind(MusicMix& mix, double time, double duration, float level);

// Pulls `pumped` down at the kick and lets it swell back over a beat: the groove's breathing.
void duckUnderKick(MusicMix& mix, double time, float depth, double recoverySeconds);

}  // namespace baker
