#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <array>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/effects_register.h"
#include "gpu/render_target.h"
#include "gpu/texture_manager.h"
#include "platform/gl_binding_record.h"
#include "platform/message_box.h"
#include "sequence/jump_cut_clock.h"
#include "sequence/outdoor_scene.h"
#include "sequence/tween_timeline.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/scene_frames.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/scoped_data_folder.h"
#include "world/model_3ds_reader.h"
#include "tests/support/text_files.h"
#include "tests/support/window_clear.h"

namespace {

TEST(OutdoorScene, tintIsWhiteThenGreenAfter49ThenFadesToDarkRedAfter80) {
  const TintColour white = outdoorTint(49.0f);
  EXPECT_EQ(white.r, 1.0f);
  EXPECT_EQ(white.g, 1.0f);
  EXPECT_EQ(white.b, 1.0f);

  const TintColour green = outdoorTint(49.01f);
  EXPECT_EQ(green.r, 0.0f);
  EXPECT_EQ(green.g, 1.0f);
  EXPECT_EQ(green.b, 0.0f);
  EXPECT_EQ(outdoorTint(80.0f).g, 1.0f);
  EXPECT_EQ(outdoorTint(80.0f).r, 0.0f);

  const TintColour fading = outdoorTint(80.01f);
  EXPECT_FLOAT_EQ(fading.r, 0.6f);
  EXPECT_NEAR(fading.g, 0.999f, 1e-5f);
  EXPECT_EQ(fading.b, 0.0f);
  EXPECT_EQ(fading.a, 1.0f);
  EXPECT_NEAR(outdoorTint(90.0f).g, 0.0f, 1e-6f);
}

TEST(OutdoorScene, initLaysTheSixtySecondFlightThroughTheFirstAndLastPoints) {
  OutdoorScene scene;
  scene.init();
  ASSERT_TRUE(scene.camera.eyePath);
  ASSERT_TRUE(scene.camera.targetPath);
  EXPECT_EQ(scene.camera.eyePath->pointCount(), 8);
  EXPECT_EQ(scene.camera.eyePath->duration(), 60.0f);
  EXPECT_EQ(scene.camera.eyePath->sampleCount(), 300);

  scene.camera.update(0.0f);
  EXPECT_NEAR(scene.camera.eye.x, -100.0f, 0.5f);
  EXPECT_NEAR(scene.camera.eye.y, 230.0f, 0.5f);
  EXPECT_NEAR(scene.camera.target.x, -10.0f, 0.5f);
  scene.camera.update(60.0f);
  EXPECT_NEAR(scene.camera.eye.x, -70.0f, 2.0f);
  EXPECT_NEAR(scene.camera.eye.y, 180.0f, 2.0f);
  EXPECT_NEAR(scene.camera.target.x, 70.0f, 2.0f);
}

// The colour of texel (0, 0) of the shared target's first surface.
std::array<unsigned char, 4> firstTexel() {
  const RenderSurface& surface = renderTarget().surfaces[0];
  std::vector<unsigned char> texels(static_cast<size_t>(surface.width * surface.height * 4));
  platform::bindTexture2D(0, surface.texture);
  glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
  return {texels[0], texels[1], texels[2], texels[3]};
}

// The scene makes the shared target's surface at the surface size it is given, and makes it again
// when that size changes.
TEST(OutdoorSceneDrawing, makesAndResizesTheSharedTargetsSurface) {
  REQUIRE_GL_CONTEXT();
  OutdoorScene scene;
  scene.resizeSurfaces(frameOf(0.0f, 0.0f, Drawable{64, 48, SurfaceSize{16, 16}}));
  RenderTarget& target = renderTarget();
  ASSERT_EQ(target.surfaces.size(), 1u);
  EXPECT_EQ(target.surfaces[0].width, 16);
  EXPECT_NE(target.surfaces[0].depthBuffer, 0u);
  scene.resizeSurfaces(frameOf(0.0f, 0.0f, Drawable{128, 96, SurfaceSize{32, 24}}));
  ASSERT_EQ(target.surfaces.size(), 1u);
  EXPECT_EQ(target.surfaces[0].width, 32);
  EXPECT_EQ(target.surfaces[0].height, 24);
  target.releaseTargets();
}

TEST(OutdoorSceneDrawing, clearsAndDrawsTheSharedTargetAt90SecondsButNotAfter) {
  REQUIRE_GL_CONTEXT();
  const Drawable drawable{64, 48, SurfaceSize{16, 16}};
  OutdoorScene scene;
  scene.init();
  scene.resizeSurfaces(frameOf(0.0f, 0.0f, drawable));
  RenderTarget& target = renderTarget();
  ASSERT_EQ(target.surfaces.size(), 1u);
  glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
  target.clearTarget(0);

  playFrame(scene, 90.0001f, 0.1f, drawable);
  EXPECT_EQ(firstTexel()[0], 255) << "drawn after 90 s";

  playFrame(scene, 90.0f, 0.1f, drawable);
  const std::array<unsigned char, 4> cleared = firstTexel();
  EXPECT_EQ(cleared[0], 0);
  EXPECT_NEAR(cleared[3], 128, 1);
  // The last surface is left to the window's framebuffer.
  GLint bound = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
  EXPECT_EQ(bound, 0);

  target.releaseTargets();
  jumpCutClock() = JumpCutClock();
}

int countOf(const std::string& text, const std::string& part) {
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

// A surface refused at a new size: the register has the landscape's surface and the render
// targets off with the refusal, one log line says when, and from then on the world goes straight
// into the window, even at a size the driver would take again.
TEST(OutdoorSceneDrawing, aSurfaceRefusedAtANewSizeSendsTheWorldToTheWindowForGood) {
  REQUIRE_GL_CONTEXT();
  const PrivateWorkingFolder working;
  const Drawable drawable{64, 48, SurfaceSize{16, 16}};
  OutdoorScene scene;
  scene.init();
  scene.resizeSurfaces(frameOf(0.0f, 0.0f, drawable));
  EffectsRegister& effects = effectsRegister();
  ASSERT_TRUE(effects.isOn(Effect::LandscapeSurface));
  effects.endLoading();

  // An empty picture is not a usable attachment.
  scene.resizeSurfaces(frameOf(12.5f, 0.0f, Drawable{64, 48, SurfaceSize{0, 0}}));
  const std::string refusal = "a drawing surface was refused: Framebuffer incomplete attachment";
  EXPECT_FALSE(effects.isOn(Effect::LandscapeSurface));
  EXPECT_EQ(effects.offReason(Effect::RenderTargets), refusal);
  EXPECT_EQ(countOf(readTextFile(kLogFileName),
                    "Effects: render targets off from 12.50 s for the landscape's surface: " + refusal + "\r\n"),
            1);
  RenderTarget& target = renderTarget();
  EXPECT_TRUE(target.surfaces.empty());
  EXPECT_EQ(target.framebuffer, 0u);

  scene.resizeSurfaces(frameOf(13.0f, 0.0f, drawable));
  EXPECT_TRUE(target.surfaces.empty());
  EXPECT_FALSE(effects.isOn(Effect::LandscapeSurface));

  // The world's own clear reaches the window, and no framebuffer of the scene is left bound.
  clearWindowTo(1.0f, 0.0f, 0.0f);
  playFrame(scene, 13.0f, 0.1f, drawable);
  GLint bound = -1;
  glGetIntegerv(GL_FRAMEBUFFER_BINDING, &bound);
  EXPECT_EQ(bound, 0);
  unsigned char pixel[4] = {255, 255, 255, 255};
  glReadPixels(1, 1, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
  EXPECT_EQ(pixel[0], 0);
  jumpCutClock() = JumpCutClock();
}

// Its palms' and windmills' tweens point into the scene, so it lives as long as the timeline.
std::unique_ptr<OutdoorScene> gSceneWithMissingModels;

TEST(OutdoorSceneLoading, missingModelsAreLeftOutWithOneLogLineEachAndTheRestStillPlays) {
  REQUIRE_GL_CONTEXT();
  PrivateWorkingFolder working;
  const std::string folder = working.path() + "/data/";
  std::filesystem::create_directory(folder);
  // Palms and windmill wings, but no windmill bodies, missiles, launcher, sky or ground.
  for (const char* name : {"palm02.3ds", "windmill_wings.3ds"}) {
    std::filesystem::copy_file(std::string(RUN_DIR) + "/data/" + name, folder + name);
  }
  auto dataFolder = std::make_unique<ScopedDataFolder>(folder);

  platform::clearRecordedBoxes();
  const size_t tweensBefore = tweenTimeline().waitingCount() + tweenTimeline().activeCount();
  gSceneWithMissingModels = std::make_unique<OutdoorScene>();
  OutdoorScene& scene = *gSceneWithMissingModels;
  scene.init();
  scene.load(frameOf(0.0f, 0.0f, fullSizeDrawable(kComposedWidth, kComposedHeight)));
  dataFolder.reset();

  EXPECT_EQ(scene.palms.children.size(), 90u);
  EXPECT_EQ(scene.windmills.children.size(), 0u);
  // Only the palms rise: a windmill without a body has nothing for its drop to move.
  EXPECT_EQ(tweenTimeline().waitingCount() + tweenTimeline().activeCount(), tweensBefore + 90);
  EXPECT_EQ(scene.launcher, nullptr);
  for (const Missile& missile : scene.missiles) {
    EXPECT_EQ(missile.body, nullptr);
  }

  const std::string log = readTextFile("debug.txt");
  EXPECT_EQ(countOf(log, "OutdoorScene: windmill_body.3ds could not be loaded"), 1);
  EXPECT_EQ(countOf(log, "OutdoorScene: missile.3ds could not be loaded"), 1);
  EXPECT_EQ(countOf(log, "OutdoorScene: rocketlauncher.3ds could not be loaded"), 1);
  EXPECT_EQ(countOf(log, "OutdoorScene: palm02.3ds"), 0);
  // A file that failed once is not asked for again, so the reader reports it once.
  int windmillBoxes = 0;
  for (const platform::RecordedBox& box : platform::recordedBoxes()) {
    windmillBoxes += countOf(box.text, "windmill_body.3ds");
  }
  EXPECT_EQ(windmillBoxes, 1);

  // Frames with the missiles due and the jump cuts running draw what there is.
  for (float time = 19.9f; time < 50.5f; time += 0.1f) {
    playFrame(scene, time, 0.1f, fullSizeDrawable(kComposedWidth, kComposedHeight));
  }
  EXPECT_TRUE(scene.trails.children.empty());
  EXPECT_TRUE(scene.explosions.children.empty());
  jumpCutClock() = JumpCutClock();
}

}  // namespace
