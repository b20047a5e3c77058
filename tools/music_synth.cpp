// Plays the score into the mix buses, adds the reverb and echoes, and masters the sum.
#include "tools/music_synth.h"

#include "tools/music_effects.h"
#include "tools/music_score.h"

namespace baker {

namespace {

// Echo times: a dotted eighth at each part's tempo.
constexpr double kSlowEchoSeconds = 0.375;
constexpr double kFastEchoSeconds = 0.75 * 60.0 / 128.0;
constexpr float kCeiling = 0.8f;  // -1.9 dBFS, leaving room for the encoder's overshoot

}  // namespace

std::vector<std::int16_t> synthesiseTrack() {
  MusicMix mix(kTrackSeconds);
  composeOutdoorPart(mix);
  composeTitlePart(mix);

  StereoTrack master(mix.dry.frames());
  for (size_t i = 0; i < master.frames(); ++i) {
    master.left.samples[i] = mix.dry.left.samples[i] + mix.pumped.left.samples[i] * mix.duck[i];
    master.right.samples[i] = mix.dry.right.samples[i] + mix.pumped.right.samples[i] * mix.duck[i];
  }
  addReverb(mix.reverbSend, &master, 0.82f, 0.45f, 1.0f);
  addPingPongEcho(mix.echoSendSlow, &master, kSlowEchoSeconds, 0.42f, 0.8f);
  addPingPongEcho(mix.echoSendFast, &master, kFastEchoSeconds, 0.42f, 0.8f);
  masterTrack(&master, -16.0f, 3.0f, 6.0f, kCeiling);
  return toPcm16(master);
}

}  // namespace baker
