// How long the parts of the data bake take; the music runs a few times faster than real time.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "tools/baked_models.h"
#include "tools/line_textures.h"
#include "tools/mp3_writer.h"
#include "tools/music_dsp.h"
#include "tools/music_synth.h"
#include "tools/sprite_pictures.h"
#include "tools/terrain_pictures.h"

namespace {

using namespace baker;

void BM_BuildSceneModels(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(buildPalmModel());
    benchmark::DoNotOptimize(buildWindmillBodyModel());
    benchmark::DoNotOptimize(buildWindmillWingsModel());
    benchmark::DoNotOptimize(buildLauncherModel());
    benchmark::DoNotOptimize(buildMissileModel());
    benchmark::DoNotOptimize(buildSkyModel());
  }
}
BENCHMARK(BM_BuildSceneModels)->Unit(benchmark::kMillisecond);

void BM_PaintGroundPictures(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(paintHeightMap());
    benchmark::DoNotOptimize(paintTerrainTexture());
  }
}
BENCHMARK(BM_PaintGroundPictures)->Unit(benchmark::kMillisecond);

void BM_PaintSpriteAndLinePictures(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(paintSpritePictures());
    benchmark::DoNotOptimize(paintLineTextures());
  }
}
BENCHMARK(BM_PaintSpriteAndLinePictures)->Unit(benchmark::kMillisecond);

// The whole track: "realtime_factor" is track seconds per second of synthesis.
void BM_SynthesiseTrack(benchmark::State& state) {
  size_t frames = 0;
  for (auto _ : state) {
    const std::vector<std::int16_t> pcm = synthesiseTrack();
    frames = pcm.size() / 2;
  }
  state.counters["realtime_factor"] =
      benchmark::Counter(static_cast<double>(frames) / kMusicSampleRate, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SynthesiseTrack)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_EncodeTrack(benchmark::State& state) {
  const std::vector<std::int16_t> pcm = synthesiseTrack();
  std::vector<unsigned char> bytes;
  for (auto _ : state) {
    encodeMp3(pcm, kMusicSampleRate, 192, &bytes);
  }
  state.counters["realtime_factor"] = benchmark::Counter(static_cast<double>(pcm.size() / 2) / kMusicSampleRate,
                                                         benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_EncodeTrack)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
