// Costs of the effects: one simulate and one draw of the largest emitter (300 slots), one frame
// of an explosion, and building the outdoor ground. Every benchmark reports the heap allocations
// it made per step, and runs in a private working folder, where its sprite requests log and its
// pictures are written.
#include <benchmark/benchmark.h>

#include <GL/glew.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "core/random.h"
#include "effects/particle_emmiter.h"
#include "effects/particle_explosion.h"
#include "gpu/draw_layer.h"
#include "gpu/frame_readback.h"
#include "gpu/off_window_frame.h"
#include "gpu/matrix_helpers.h"
#include "image/png_writer.h"
#include "platform/gl_capabilities.h"
#include "platform/gl_entry_points.h"
#include "platform/native_window.h"
#include "tests/support/private_working_folder.h"
#include "world/model.h"
#include "world/terrain.h"

// Counts every allocation made through operator new in this program (all benchmarks share it).
namespace {
std::atomic<long long> gAllocations{0};
}  // namespace

void* operator new(std::size_t sizeBytes) {
  ++gAllocations;
  if (void* block = std::malloc(sizeBytes == 0 ? 1 : sizeBytes)) {
    return block;
  }
  throw std::bad_alloc();
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }

namespace {

long ignoreMessages(const platform::WindowMessage&) { return 0; }

// A hidden window with a current GL context, made once; false without a display.
bool benchGLContext() {
  static int state = -1;
  if (state >= 0) {
    return state == 1;
  }
  state = 0;
  if (std::getenv("DISPLAY") == nullptr) {
    return false;
  }
  std::string error;
  if (!platform::registerWindowClass(&ignoreMessages, error)) {
    return false;
  }
  platform::NativeWindow* window = platform::createWindow("bench", 256, 256, 32, false, error);
  if (window == nullptr) {
    return false;
  }
  platform::GLContextHandle context = platform::createGLContext(window, false, error);
  if (context == nullptr || !platform::makeCurrent(window, context)) {
    return false;
  }
  std::string problem;
  if (!platform::loadGLEntryPoints(problem)) {
    return false;
  }
  platform::setGLCapabilities(platform::readGLCapabilities(platform::GLContextKind::Compatibility));
  state = createDrawLayer(platform::contextCapabilities()) ? 1 : 0;
  return state == 1;
}

// The title scene's red bubbles: the largest pool of the presentation, run until every slot lives.
void steadyBubbleField(ParticleEmmiter& emitter) {
  seedRandom(1);
  emitter.presetSmokeArea(-50.0f, -50.0f, 50.0f, 50.0f, 300);
  emitter.endSize *= 25.0f;
  emitter.boxMin.y = -10.0f;
  for (int frame = 0; frame < 200; ++frame) {
    emitter.simulate(0.0f, 0.02f);
  }
}

void reportAllocations(benchmark::State& state, long long before) {
  state.counters["allocs_per_step"] = benchmark::Counter(
      static_cast<double>(gAllocations.load() - before) / static_cast<double>(state.iterations()));
}

void emitterSimulate300(benchmark::State& state) {
  const PrivateWorkingFolder scratch;
  ParticleEmmiter emitter;
  steadyBubbleField(emitter);
  const long long before = gAllocations.load();
  for (auto _ : state) {
    emitter.simulate(0.0f, 1.0f / 60.0f);
    benchmark::DoNotOptimize(emitter.particles.data());
  }
  reportAllocations(state, before);
}
BENCHMARK(emitterSimulate300);

// Waits for the driver to finish, so the software rasteriser's work on the quads is counted too.
void emitterRender300(benchmark::State& state) {
  if (!benchGLContext()) {
    state.SkipWithError("no display for a GL context; run under xvfb-run");
    return;
  }
  const PrivateWorkingFolder scratch;
  ParticleEmmiter emitter;
  steadyBubbleField(emitter);
  DrawLayer& layer = drawLayer();
  layer.setViewport(Viewport{0, 0, 256, 256});
  setFixedPerspective(Drawable{256, 256, {}}, 0.0f, 60.0f, 150.0f, 0.0f, 0.0f, 0.0f);
  const long long before = gAllocations.load();
  for (auto _ : state) {
    layer.clear(true, true);
    emitter.render();
    layer.finish();
  }
  reportAllocations(state, before);
}
BENCHMARK(emitterRender300);

// A missile's explosion (scale 8) one second in: one simulate and one draw of its 30 fragments.
void explosionFrame(benchmark::State& state) {
  if (!benchGLContext()) {
    state.SkipWithError("no display for a GL context; run under xvfb-run");
    return;
  }
  const PrivateWorkingFolder scratch;
  seedRandom(2);
  ParticleExplosion explosion;
  explosion.create(8.0f, Vector3());
  // No sprite file here: any texture name above 0 makes the fragments draw.
  explosion.texture = 1;
  for (int frame = 0; frame < 60; ++frame) {
    explosion.simulate(1.0f / 60.0f);
  }
  DrawLayer& layer = drawLayer();
  layer.setViewport(Viewport{0, 0, 256, 256});
  setFixedPerspective(Drawable{256, 256, {}}, 0.0f, 20.0f, 120.0f, 0.0f, 0.0f, 0.0f);
  const long long before = gAllocations.load();
  for (auto _ : state) {
    explosion.simulate(0.0f);
    layer.clear(true, true);
    beginExplosionDraw();
    explosion.render();
    layer.finish();
  }
  reportAllocations(state, before);
}
BENCHMARK(explosionFrame);

// The outdoor ground: 36 patches of 10 × 10 vertices from a 256 × 256 picture.
const TerrainBox kOutdoorBox{-200.0f, -20.0f, -200.0f, 200.0f, 44.0f, 200.0f};
constexpr int kPictureSide = 256;

std::vector<uint8_t> rollingHills() {
  std::vector<uint8_t> levels(kPictureSide * kPictureSide);
  for (int z = 0; z < kPictureSide; ++z) {
    for (int x = 0; x < kPictureSide; ++x) {
      levels[z * kPictureSide + x] =
          static_cast<uint8_t>(127.5f + 60.0f * std::sin(x * 0.05f) + 60.0f * std::cos(z * 0.07f));
    }
  }
  return levels;
}

// Geometry only: patches, normals, texture coordinates and seams from grey levels in memory.
void outdoorTerrainFromHeights(benchmark::State& state) {
  const HeightGrid heights(kPictureSide, kPictureSide, rollingHills());
  Terrain terrain;
  const long long before = gAllocations.load();
  for (auto _ : state) {
    terrain.buildFromHeights(heights, kOutdoorBox, 6, 6, 10, 10);
    benchmark::DoNotOptimize(terrain.model.get());
  }
  reportAllocations(state, before);
}
BENCHMARK(outdoorTerrainFromHeights);

// The whole build as loading does it: read and decode the picture file, then the geometry.
void outdoorTerrainFromPicture(benchmark::State& state) {
  const PrivateWorkingFolder scratch;
  const std::vector<uint8_t> levels = rollingHills();
  std::vector<uint8_t> rgb;
  // PNG rows run top to bottom; the grid's run bottom to top.
  for (int z = kPictureSide - 1; z >= 0; --z) {
    for (int x = 0; x < kPictureSide; ++x) {
      rgb.insert(rgb.end(), 3, levels[z * kPictureSide + x]);
    }
  }
  std::string error;
  if (!writePng("heightmap.png", kPictureSide, kPictureSide, rgb.data(), error)) {
    state.SkipWithError(error.c_str());
  } else {
    Terrain terrain;
    const long long before = gAllocations.load();
    for (auto _ : state) {
      terrain.build("heightmap.png", kOutdoorBox, 6, 6, 10, 10);
      benchmark::DoNotOptimize(terrain.model.get());
    }
    reportAllocations(state, before);
  }
}
BENCHMARK(outdoorTerrainFromPicture);

}  // namespace

namespace {

// Reading one finished full-HD frame back for the video encoder, the drawing already done
// (glFinish outside the timing): what the read-back itself costs a frame, with the pixel buffers
// taking turns, against a plain read of RGB rows as the raw capture does.
void frameReadback1080(benchmark::State& state) {
  if (!benchGLContext()) {
    state.SkipWithError("no display for a GL context; run under xvfb-run");
    return;
  }
  OffWindowFrame frame;
  if (!frame.create(1920, 1080)) {
    state.SkipWithError("no off-window frame on this driver");
    return;
  }
  frame.bind();
  FrameReadback readback;
  readback.create(1920, 1080);
  std::vector<uint8_t> rows(static_cast<size_t>(1920) * 1080 * 3);
  const bool plainRead = state.range(0) == 0;
  for (auto _ : state) {
    state.PauseTiming();
    glClearColor(0.2f, 0.3f, 0.4f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    state.ResumeTiming();
    if (plainRead) {
      readFromDrawnFrame();
      glPixelStorei(GL_PACK_ALIGNMENT, 1);
      glReadPixels(0, 0, 1920, 1080, GL_RGB, GL_UNSIGNED_BYTE, rows.data());
      benchmark::DoNotOptimize(rows.data());
    } else {
      benchmark::DoNotOptimize(readback.readNext());
    }
  }
  state.SetLabel(plainRead ? "glReadPixels RGB" : (readback.usesPixelBuffers() ? "pixel buffers" : "glReadPixels RGBA"));
  readback.release();
  frame.release();
}
BENCHMARK(frameReadback1080)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
