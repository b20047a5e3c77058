#include "sequence/title_scene.h"

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/effects_register.h"
#include "core/input_state.h"
#include "core/random.h"
#include "gpu/draw_layer.h"
#include "gpu/texture_manager.h"
#include "platform/gl_binding_record.h"
#include "platform/gl_capabilities.h"
#include "platform/message_box.h"
#include "sequence/jump_cut_clock.h"
#include "sequence/outdoor_scene.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/scene_frames.h"
#include "tests/support/scoped_data_folder.h"
#include "tests/support/text_files.h"
#include "world/model_3ds_reader.h"

namespace {

void expectPosition(const Vector3& actual, const Vector3& expected, const char* where) {
  EXPECT_NEAR(actual.x, expected.x, 1e-3f) << where;
  EXPECT_NEAR(actual.y, expected.y, 1e-3f) << where;
  EXPECT_NEAR(actual.z, expected.z, 1e-3f) << where;
}

// Scene seconds are presentation time less 90. A title flies in from (-35, 0, -30) over its first
// 3 s, holds in the centre until 12 s into its slot and flies out toward (35, 12, 70) over the last
// 3 s; the fourth keeps going past that point until the scene ends at 64 s.
TEST(TitleScene, eachTitleFliesInFromAHoldsInTheCentreAndFliesOutTowardB) {
  struct Moment {
    float sceneSeconds;
    int slot;
    Vector3 position;
  };
  const Moment moments[] = {
      {0.0f, 0, Vector3(-35.0f, 0.0f, -30.0f, 0.0f)},
      {1.5f, 0, Vector3(-17.5f, 0.0f, -15.0f, 0.0f)},
      {3.0f, 0, Vector3(0.0f, 0.0f, 0.0f, 0.0f)},
      {12.0f, 0, Vector3(0.0f, 0.0f, 0.0f, 0.0f)},
      {13.5f, 0, Vector3(17.5f, 6.0f, 35.0f, 0.0f)},
      {15.0f, 1, Vector3(-35.0f, 0.0f, -30.0f, 0.0f)},
      {29.9f, 1, Vector3(33.8333f, 11.6f, 67.6667f, 0.0f)},
      {45.0f, 3, Vector3(-35.0f, 0.0f, -30.0f, 0.0f)},
      {57.0f, 3, Vector3(0.0f, 0.0f, 0.0f, 0.0f)},
      {60.0f, 3, Vector3(35.0f, 12.0f, 70.0f, 0.0f)},
      {64.0f, 3, Vector3(81.6667f, 28.0f, 163.3333f, 0.0f)},
  };
  for (const Moment& m : moments) {
    const std::string where = "at " + std::to_string(m.sceneSeconds) + " s";
    EXPECT_EQ(titleSlotAt(m.sceneSeconds), m.slot) << where;
    expectPosition(titlePosition(titleSlotFraction(m.sceneSeconds, m.slot)), m.position, where.c_str());
  }
}

// The rocking about the horizontal axis swings through +-40 degrees about nine and a half times a
// slot: level as a title enters, 11.18 degrees down 1.5 s in, 39.52 degrees down half-way.
TEST(TitleScene, titlesRockAboutNineAndAHalfTimesASlot) {
  EXPECT_NEAR(titleRockingDegrees(titleSlotFraction(0.0f, 0)), 0.0f, 1e-4f);
  EXPECT_NEAR(titleRockingDegrees(titleSlotFraction(1.5f, 0)), -11.177f, 1e-2f);
  EXPECT_NEAR(titleRockingDegrees(titleSlotFraction(7.5f, 0)), -39.521f, 1e-2f);
  EXPECT_NEAR(titleRockingDegrees(titleSlotFraction(22.5f, 1)), -39.521f, 1e-2f);

  int swings = 0;
  float previous = titleRockingDegrees(0.0f);
  for (float x = 0.01f; x < 15.0f; x += 0.01f) {
    const float degrees = titleRockingDegrees(titleSlotFraction(x, 0));
    EXPECT_LE(std::fabs(degrees), 40.0f + 1e-4f) << x;
    swings += (previous < 0.0f) != (degrees < 0.0f) ? 1 : 0;
    previous = degrees;
  }
  EXPECT_EQ(swings, 19);  // half-swings: nine and a half whole ones
}

TEST(TitleScene, feedbackLevelsUnderTheFrameClampAndTheCageSeconds) {
  for (float dt = 0.0f; dt <= 0.1f; dt += 0.01f) {
    EXPECT_EQ(lineTrailLevel(dt), 0.5f) << dt;
    EXPECT_GE(titleShimmerLevel(dt), 0.56f - 1e-6f) << dt;
    EXPECT_LE(titleShimmerLevel(dt), 0.6f) << dt;
  }
  // Longer frames than the clamp allows would still stay in range.
  EXPECT_EQ(lineTrailLevel(5.0f), 0.1f);
  EXPECT_EQ(titleShimmerLevel(5.0f), 0.4f);

  // The lines form their cage in every other stretch of four seconds, starting 4 s in.
  const std::set<int> cageSeconds = {4,  5,  6,  7,  12, 13, 14, 15, 20, 21, 22, 23, 28, 29, 30, 31,
                                     36, 37, 38, 39, 44, 45, 46, 47, 52, 53, 54, 55, 60, 61, 62, 63};
  for (int second = 0; second < 64; ++second) {
    EXPECT_EQ(lineCageShown(static_cast<float>(second) + 0.5f), cageSeconds.count(second) != 0) << second;
  }
  EXPECT_FALSE(lineCageShown(64.0f));
}

// The scene loaded from the baked data, less the files a test leaves out, in a folder of its own.
class TitleSceneLoaded : public ::testing::Test {
 protected:
  void loadScene(const std::set<std::string>& leftOut) {
    const std::string data = folder_.path() + "/data/";
    std::filesystem::create_directory(data);
    for (const auto& entry : std::filesystem::directory_iterator(std::string(RUN_DIR) + "/data")) {
      const std::string name = entry.path().filename().string();
      if (leftOut.count(name) == 0) {
        std::filesystem::create_symlink(entry.path(), data + name);
      }
    }
    for (const char* shader : {kVolumeLinesVertexFile, kVolumeLinesFragmentFile}) {
      writeTextFile(shader, readTextFile(std::string(RUN_DIR) + "/" + shader));
    }
    dataFolder_ = std::make_unique<ScopedDataFolder>(data);
    textureManager().failedNames.clear();
    // The composed frame size: the surfaces are made at 512 x 512.
    drawable_ = fullSizeDrawable(kComposedWidth, kComposedHeight);
    seedRandom(3);
    scene_ = std::make_unique<TitleScene>();
    scene_->init();
    scene_->load(frameOf(0.0f, 0.0f, drawable_));
  }
  void TearDown() override {
    scene_.reset();
    dataFolder_.reset();
  }

  // Plays the scene at 0.1-second frames from `from` up to `to` (presentation time).
  void play(float from, float to) {
    for (float time = from; time <= to + 1e-4f; time += 0.1f) {
      playFrame(*scene_, time, 0.1f, drawable_);
    }
  }

  // Pixels of surface `index` (RGBA, bottom row first).
  std::vector<unsigned char> surfacePixels(int index) const {
    const RenderSurface& surface = scene_->layers.surfaces[static_cast<size_t>(index)];
    std::vector<unsigned char> pixels(static_cast<size_t>(surface.width) * static_cast<size_t>(surface.height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    platform::bindTexture2D(0, surface.texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
  }

  // Bright pixels (every channel above 160) in the middle third of the title surface drawn last.
  // Makes the surfaces again for a full-HD drawable at layerSize, checks that the four layers and
  // the bubbles' surface took their sizes, and that the titles still draw on them.
  void expectFullHdSurfacesDrawAt(SurfaceSize layerSize, SurfaceSize bubbleSize) {
    drawable_ = Drawable{1920, 1080, layerSize};
    scene_->resizeSurfaces(frameOf(97.0f, 0.0f, drawable_));
    ASSERT_EQ(scene_->layers.surfaces.size(), 5u);
    for (int n = 0; n < 4; ++n) {
      EXPECT_EQ(scene_->layers.surfaces[n].width, layerSize.width);
      EXPECT_EQ(scene_->layers.surfaces[n].height, layerSize.height);
    }
    EXPECT_EQ(scene_->layers.surfaces[kBubbleSurface].width, bubbleSize.width);
    EXPECT_EQ(scene_->layers.surfaces[kBubbleSurface].height, bubbleSize.height);
    play(97.0f, 98.0f);
    EXPECT_GT(brightTitlePixels(), 200);
  }

  int brightTitlePixels() const {
    const std::vector<unsigned char> pixels = surfacePixels(scene_->back + 2);
    const int width = scene_->layers.surfaces[scene_->back + 2].width;
    const int height = scene_->layers.surfaces[scene_->back + 2].height;
    int count = 0;
    for (int y = height / 3; y < 2 * height / 3; ++y) {
      for (int x = width / 3; x < 2 * width / 3; ++x) {
        const unsigned char* p = &pixels[(y * width + x) * 4];
        count += p[0] > 160 && p[1] > 160 && p[2] > 160 ? 1 : 0;
      }
    }
    return count;
  }

  PrivateWorkingFolder folder_;
  std::unique_ptr<TitleScene> scene_;
  Drawable drawable_;  // what the frames are drawn into
  std::unique_ptr<ScopedDataFolder> dataFolder_;
};

// First of the loading tests: the model cache of the process has not seen text2.3ds yet.
TEST_F(TitleSceneLoaded, aTitleThatCannotBeLoadedLeavesItsSlotEmptyWithOneLogLineAndTheRestPlays) {
  REQUIRE_GL_CONTEXT();
  LogTail log;
  loadScene({"text2.3ds"});
  EXPECT_TRUE(scene_->texts[0]);
  EXPECT_FALSE(scene_->texts[1]);
  EXPECT_TRUE(scene_->texts[3]);
  const std::string lines = log.text();
  const std::string line = "TitleScene: text2.3ds could not be loaded, its title is left out";
  ASSERT_NE(lines.find(line), std::string::npos);
  EXPECT_EQ(lines.find(line, lines.find(line) + 1), std::string::npos);

  play(95.0f, 98.0f);
  EXPECT_GT(brightTitlePixels(), 100);
  // The empty slot draws no title; what the shimmer carries over fades within a second.
  play(108.0f, 110.0f);
  EXPECT_EQ(brightTitlePixels(), 0);
  play(124.0f, 126.0f);
  EXPECT_GT(brightTitlePixels(), 100);
}

TEST_F(TitleSceneLoaded, drawsFromNinetyToOneFiftyFourSecondsAlternatingItsSurfacePairs) {
  REQUIRE_GL_CONTEXT();
  loadScene({});
  ASSERT_EQ(scene_->layers.surfaces.size(), 5u);
  EXPECT_TRUE(scene_->lineField.lines.enabled());
  EXPECT_EQ(scene_->lineField.segments.size(), 160u);
  // Before its first frame the previous pair is the cleared one of load time.
  EXPECT_EQ(scene_->front, 0);
  EXPECT_EQ(scene_->back, 1);

  playFrame(*scene_, 89.99f, 0.1f, drawable_);
  EXPECT_EQ(scene_->back, 1);
  playFrame(*scene_, 90.0f, 0.1f, drawable_);
  EXPECT_EQ(scene_->front, 1);
  EXPECT_EQ(scene_->back, 0);
  playFrame(*scene_, 154.0f, 0.1f, drawable_);
  EXPECT_EQ(scene_->back, 1);
  playFrame(*scene_, 154.01f, 0.1f, drawable_);
  EXPECT_EQ(scene_->back, 1);

  // While a title is held: a bright title in the middle of its layer, and a line layer that is
  // red, with glowing lines that move from one frame to the next.
  play(96.0f, 98.0f);
  EXPECT_GT(brightTitlePixels(), 200);
  const std::vector<unsigned char> lines = surfacePixels(scene_->back);
  long red = 0;
  long green = 0;
  int glowing = 0;
  for (size_t n = 0; n < lines.size(); n += 4) {
    red += lines[n];
    green += lines[n + 1];
    glowing += lines[n] > 200 ? 1 : 0;
  }
  EXPECT_GT(red, 3 * green);
  EXPECT_GT(glowing, 200);
  play(98.1f, 98.5f);
  const std::vector<unsigned char> later = surfacePixels(scene_->back);
  int changed = 0;
  for (size_t n = 0; n < lines.size(); n += 4) {
    changed += std::abs(static_cast<int>(lines[n]) - static_cast<int>(later[n])) > 40 ? 1 : 0;
  }
  EXPECT_GT(changed, 500);
}

TEST_F(TitleSceneLoaded, wideBubblesAreDrawnIntoTheirOwnSmallerSurface) {
  REQUIRE_GL_CONTEXT();
  loadScene({});
  ASSERT_EQ(scene_->layers.surfaces.size(), 5u);
  EXPECT_EQ(scene_->layers.surfaces[kBubbleSurface].width, 266);
  EXPECT_EQ(scene_->layers.surfaces[kBubbleSurface].height, 200);

  // Half a minute in, the bubbles are many and large: red rings over a black surface.
  play(118.0f, 120.0f);
  const std::vector<unsigned char> bubbles = surfacePixels(kBubbleSurface);
  int red = 0;
  int otherwise = 0;
  for (size_t n = 0; n < bubbles.size(); n += 4) {
    const int r = bubbles[n];
    const int g = bubbles[n + 1];
    const int b = bubbles[n + 2];
    red += r > 40 && r > 2 * g && r > 2 * b ? 1 : 0;
    otherwise += g > r + 20 || b > r + 20 ? 1 : 0;
  }
  EXPECT_GT(red, 266 * 200 / 10);
  EXPECT_EQ(otherwise, 0);
}

TEST_F(TitleSceneLoaded, readingTheStartStateBackPlaysTheSameFramesAgainToThePixel) {
  REQUIRE_GL_CONTEXT();
  loadScene({});
  StateRecord start;
  scene_->writeState(start);
  const unsigned int startRandom = randomState();
  play(90.0f, 96.0f);
  const std::vector<unsigned char> lines = surfacePixels(scene_->back);
  const std::vector<unsigned char> titles = surfacePixels(scene_->back + 2);
  const float segmentPosition = scene_->lineField.segments[17].position;
  const float bubbleSize = scene_->bubbles.particles[5].size;

  setRandomState(startRandom);
  StateReader reader(start);
  scene_->readState(reader);
  EXPECT_TRUE(reader.atEnd());
  EXPECT_EQ(scene_->front, 0);
  EXPECT_EQ(scene_->back, 1);
  play(90.0f, 96.0f);
  EXPECT_EQ(scene_->lineField.segments[17].position, segmentPosition);
  EXPECT_EQ(scene_->bubbles.particles[5].size, bubbleSize);
  EXPECT_TRUE(surfacePixels(scene_->back) == lines);
  EXPECT_TRUE(surfacePixels(scene_->back + 2) == titles);
}

// What the frame leaves for the draws after it: texturing with unit 0 only, depth writes on, and
// none of the scene's surfaces bound on any unit, since they are drawn into again next frame.
TEST_F(TitleSceneLoaded, aFrameLeavesNoSurfaceBoundOnAnyUnit) {
  REQUIRE_GL_CONTEXT();
  loadScene({});
  ASSERT_EQ(scene_->layers.surfaces.size(), 5u);
  play(96.0f, 96.5f);
  const int units = platform::contextCapabilities().textureUnits;
  for (int unit = 0; unit < kDrawTextureUnits && unit < units; ++unit) {
    glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    for (const RenderSurface& surface : scene_->layers.surfaces) {
      EXPECT_NE(static_cast<unsigned int>(bound), surface.texture) << "unit " << unit;
    }
  }
  glActiveTexture(GL_TEXTURE0);
}

// A new window size makes all four surfaces again at the size that follows it, and the titles
// draw on them from the next frame.
TEST_F(TitleSceneLoaded, surfacesFollowTheDrawableAndKeepDrawing) {
  REQUIRE_GL_CONTEXT();
  loadScene({});
  ASSERT_EQ(scene_->layers.surfaces.size(), 5u);
  EXPECT_EQ(scene_->layers.surfaces[0].width, kComposedSurfaceSize);
  expectFullHdSurfacesDrawAt(drawingSurfaceSize(1920, 1080), SurfaceSize{640, 360});
  EXPECT_EQ(drawingSurfaceSize(1920, 1080).width, 1229);
  EXPECT_EQ(drawingSurfaceSize(1920, 1080).height, 922);
}

// Frames that come too slowly make the surfaces smaller than their full size: the bubbles' surface
// shrinks with the layers, and the titles still draw.
TEST_F(TitleSceneLoaded, smallerSurfacesTakeTheBubblesAlongAndKeepDrawing) {
  REQUIRE_GL_CONTEXT();
  loadScene({});
  expectFullHdSurfacesDrawAt(SurfaceSize{615, 512}, SurfaceSize{320, 200});
}

// The title's layers refused at a new size: the register, and so the start-up report's words, have
// the render targets off with the refusal; the title goes on with only its bubbles, and the
// landscape keeps drawing through its own surface.
TEST_F(TitleSceneLoaded, layersRefusedAtANewSizeLeaveTheLandscapesSurfaceInUse) {
  REQUIRE_GL_CONTEXT();
  loadScene({});
  OutdoorScene landscape;
  landscape.init();
  const Drawable landscapeDrawable{64, 48, SurfaceSize{16, 16}};
  landscape.resizeSurfaces(frameOf(0.0f, 0.0f, landscapeDrawable));
  EffectsRegister& effects = effectsRegister();
  ASSERT_TRUE(effects.isOn(Effect::TitleLayers));
  ASSERT_FALSE(effects.isOff(Effect::RenderTargets));
  effects.endLoading();

  const LogTail log;
  drawable_ = Drawable{kComposedWidth, kComposedHeight, SurfaceSize{0, 0}};
  scene_->resizeSurfaces(frameOf(97.0f, 0.0f, drawable_));
  const std::string refusal = "a drawing surface was refused: Framebuffer incomplete attachment";
  EXPECT_TRUE(scene_->layers.surfaces.empty());
  EXPECT_FALSE(effects.isOn(Effect::TitleLayers));
  EXPECT_EQ(effects.offReason(Effect::RenderTargets), refusal);
  EXPECT_NE(log.text().find("TitleScene: no drawing surfaces at the new size, only the bubbles are shown\r\n"
                            "Effects: render targets off from 97.00 s for the title layers: " +
                            refusal + "\r\n"),
            std::string::npos);
  play(97.0f, 98.0f);

  EXPECT_TRUE(effects.isOn(Effect::LandscapeSurface));
  RenderTarget& target = renderTarget();
  ASSERT_EQ(target.surfaces.size(), 1u);
  drawLayer().setClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  target.clearTarget(0);
  playFrame(landscape, 10.0f, 0.1f, landscapeDrawable);
  // The world's clear, black at half alpha, took the red's place.
  std::vector<unsigned char> texels(static_cast<size_t>(16 * 16 * 4));
  platform::bindTexture2D(0, target.surfaces[0].texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  EXPECT_EQ(texels[0], 0) << "the landscape's surface was not drawn into";
  EXPECT_NEAR(texels[3], 128, 1);
  target.releaseTargets();
  jumpCutClock() = JumpCutClock();
}

}  // namespace
