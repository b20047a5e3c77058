// Writes the music track.
#include "tools/data_folder_baker.h"
#include "tools/mp3_writer.h"
#include "tools/music_dsp.h"
#include "tools/music_synth.h"

namespace baker {

namespace {

constexpr int kBitRateKbps = 192;

}  // namespace

bool bakeMusic(const std::string& folder) {
  return writeMp3File(dataPath(folder, "Vallomere.mp3"), synthesiseTrack(), kMusicSampleRate, kBitRateKbps);
}

}  // namespace baker
