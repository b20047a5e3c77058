// The music's shared effects and master stage: a room reverb and ping-pong echoes fed from the
// send buses, then a gentle compressor and a look-ahead limiter that keeps every sample below
// the ceiling, and the conversion to 16-bit samples.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/music_dsp.h"

namespace baker {

// Adds a stereo room reverb of the mono `send` to `output`.
void addReverb(const MonoTrack& send, StereoTrack* output, float roomSize, float damping, float wet);

// Adds echoes of the mono `send` to `output`, bouncing left and right every `delaySeconds`,
// each `feedback` times the one before and a little duller.
void addPingPongEcho(const MonoTrack& send, StereoTrack* output, double delaySeconds, float feedback, float wet);

// Compresses softly above `thresholdDb`, lifts by `makeupDb`, then limits every sample to
// `ceiling` (linear, below 1) with a look-ahead, so peaks are turned down smoothly before they
// arrive instead of being clipped.
void masterTrack(StereoTrack* track, float thresholdDb, float ratio, float makeupDb, float ceiling);

// Interleaved left/right 16-bit samples with triangular dither from a fixed seed.
std::vector<std::int16_t> toPcm16(const StereoTrack& track);

}  // namespace baker
