// Synthesises the presentation's music track: 44.1 kHz stereo, 16-bit, kTrackSeconds long.
#pragma once

#include <cstdint>
#include <vector>

namespace baker {

// Interleaved left/right samples; every run gives the same samples.
std::vector<std::int16_t> synthesiseTrack();

}  // namespace baker
