#include "effects/volume_lines.h"

#include "core/draw_counts.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/draw_counts.h"
#include "core/effects_register.h"
#include "gpu/draw_layer.h"
#include "gpu/matrix_helpers.h"
#include "gpu/shader_manager.h"
#include "gpu/texture_manager.h"
#include "platform/message_box.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/offscreen_surface.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"
#include "tests/world/plain_view.h"

namespace {

bool everyProfile(platform::ShaderProfile) { return true; }
bool noProfile(platform::ShaderProfile) { return false; }
bool fragmentOnly(platform::ShaderProfile profile) {
  return profile == platform::ShaderProfile::Fp20;
}

// The boxes go to the recorder and the log lines into a folder of the test's own.
class VolumeLinesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::setScriptedAnswers({});
    platform::clearRecordedBoxes();
  }
  void TearDown() override {
    shaderManager().release();
  }

  PrivateWorkingFolder folder_;
};

// A compatibility context that offers multitexture, or not.
platform::GLCapabilities contextWithMultitexture(bool multitexture) {
  platform::GLCapabilities capabilities;
  capabilities.multitexture = multitexture;
  capabilities.textureUnits = multitexture ? 4 : 1;
  return capabilities;
}

TEST_F(VolumeLinesTest, eachMissingCapabilityShowsItsWarningAndLeavesTheLinesSilent) {
  struct Case {
    bool multitexture;
    VolumeLines::ProfileCheck profiles;
    const char* text;
  };
  const Case cases[] = {
      {false, &everyProfile, "One or more GL_ARB_multitexture functions were not found"},
      {true, &noProfile,
       "Failed to initialize vertex shader! Hardware doesn't support any of the required vertex shading "
       "extensions!"},
      {true, &fragmentOnly,
       "Failed to initialize vertex shader! Hardware doesn't support any of the required vertex shading "
       "extensions!"},
  };
  for (const Case& c : cases) {
    platform::clearRecordedBoxes();
    VolumeLines lines;
    lines.profileSupported = c.profiles;
    EXPECT_FALSE(lines.initialize(contextWithMultitexture(c.multitexture)));
    EXPECT_FALSE(lines.enabled());
    ASSERT_EQ(platform::recordedBoxes().size(), 1u) << c.text;
    const platform::RecordedBox& box = platform::recordedBoxes()[0];
    EXPECT_EQ(box.text, c.text);
    EXPECT_EQ(box.caption, "ERROR");
    EXPECT_EQ(box.buttons, platform::BoxButtons::Ok);
    EXPECT_EQ(box.icon, platform::BoxIcon::Exclamation);

    // Switched off, the lines hand nothing to the layer: no draw and no change of pass.
    const DrawCounts before = drawCounts();
    EXPECT_FALSE(lines.beginLines());
    lines.drawLine(0.0f, 0.0f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
    lines.endLines();
    EXPECT_EQ(drawCounts().drawCalls, before.drawCalls);
    EXPECT_EQ(drawCounts().stateChanges, before.stateChanges);
  }

  // The register, and the start-up report from it, keep the first reason.
  EXPECT_EQ(effectsRegister().offReason(Effect::VolumeLines), cases[0].text);

  // A vertex stage but no fragment stage of any kind.
  platform::clearRecordedBoxes();
  VolumeLines lines;
  lines.profileSupported = [](platform::ShaderProfile profile) { return profile == platform::ShaderProfile::Vp40; };
  EXPECT_FALSE(lines.initialize(contextWithMultitexture(true)));
  ASSERT_EQ(platform::recordedBoxes().size(), 1u);
  EXPECT_EQ(platform::recordedBoxes()[0].text,
            "Failed to initialize fragment shader! Hardware doesn't support any of the required fragment shading "
            "extensions!");
}

TEST_F(VolumeLinesTest, textureListCountsUpAndRefusesUnknownPicturesAndAThirtyFirstEntry) {
  // No picture is there to load: the list still takes texture name 0 for each.
  LogTail log;
  VolumeLines lines;
  for (int n = 0; n < kVolumeLineTextureCapacity; ++n) {
    ASSERT_EQ(lines.addTexture(n % kVolumeLinePictureCount), n);
  }
  EXPECT_EQ(lines.addTexture(2), -1);
  EXPECT_EQ(lines.textureCount, kVolumeLineTextureCapacity);
  EXPECT_NE(log.text().find("VolumeLines: the list holds 30 textures already, linevol_redlaser.jpg not added"),
            std::string::npos);
  EXPECT_EQ(lines.addTexture(7), -1);
  EXPECT_EQ(lines.addTexture(-1), -1);
  EXPECT_NE(log.text().find("VolumeLines: there is no line picture 7"), std::string::npos);
}

TEST_F(VolumeLinesTest, aShaderThatDoesNotCompileSwitchesTheLinesOffWithALogLineAndNoBox) {
  REQUIRE_GL_CONTEXT();
  writeTextFile(kVolumeLinesVertexFile, "#version 120\nvoid main() { this is not GLSL }\n");
  writeTextFile(kVolumeLinesFragmentFile, readTextFile(std::string(RUN_DIR) + "/" + kVolumeLinesFragmentFile));
  LogTail log;
  VolumeLines lines;
  EXPECT_FALSE(lines.initialize());
  EXPECT_FALSE(lines.enabled());
  EXPECT_TRUE(platform::recordedBoxes().empty());
  EXPECT_NE(log.text().find(kVolumeLinesVertexFile), std::string::npos);
  EXPECT_FALSE(lines.beginLines());
}

// The real programs and the baked red laser picture, drawn into a 128-pixel target seen from
// z = 10 looking down the z axis: about 13.7 pixels a unit at the origin, which is at (64, 64).
class VolumeLinesDrawing : public VolumeLinesTest {
 protected:
  void SetUp() override {
    VolumeLinesTest::SetUp();
    REQUIRE_GL_CONTEXT();
    for (const char* name : {kVolumeLinesVertexFile, kVolumeLinesFragmentFile}) {
      writeTextFile(name, readTextFile(std::string(RUN_DIR) + "/" + name));
    }
    std::filesystem::create_directory("data");
    std::filesystem::copy_file(std::string(RUN_DIR) + "/data/linevol_redlaser.jpg", "data/linevol_redlaser.jpg");
    surface_ = std::make_unique<OffscreenSurface>(128);
    previousPaths_ = textureManager().paths();
    textureManager().usePaths(resourcePathsIn(""));
    textureManager().failedNames.clear();
    ASSERT_TRUE(lines_.initialize());
    ASSERT_EQ(lines_.addTexture(2), 0);
    ASSERT_NE(lines_.textures[0], 0u);
  }
  void TearDown() override {
    textureManager().usePaths(previousPaths_);
    VolumeLinesTest::TearDown();
  }

  // Draws one segment and counts the glowing pixels, in all and in the left third of the picture.
  void drawSegment(float x0, float y0, float z0, float x1, float y1, float z1, float width) {
    beginSurface(*surface_);
    setFixedPerspective(Drawable{}, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f, 0.0f);
    ASSERT_TRUE(lines_.beginLines());
    lines_.drawLine(x0, y0, z0, x1, y1, z1, width);
    lines_.endLines();
    surface_->end();
    lit_ = leftLit_ = 0;
    for (int y = 0; y < surface_->size(); ++y) {
      for (int x = 0; x < surface_->size(); ++x) {
        if (surface_->pixel(x, y).r > 96) {
          ++lit_;
          leftLit_ += x < surface_->size() / 3 ? 1 : 0;
        }
      }
    }
  }

  std::unique_ptr<OffscreenSurface> surface_;  // made once the context is there
  VolumeLines lines_;
  int lit_ = 0;
  int leftLit_ = 0;
  ResourcePaths previousPaths_;
};

TEST_F(VolumeLinesDrawing, segmentsAreDrawnInOneDrawWithTheLinesPassAndLeaveNoProgramRunning) {
  ASSERT_TRUE(surface_->ready());
  beginSurface(*surface_);
  DrawLayer& layer = drawLayer();
  layer.applyPass(PassState{});
  const uint64_t drawsBefore = drawCounts().drawCalls;
  ASSERT_TRUE(lines_.beginLines());
  EXPECT_EQ(layer.passState(), volumeLinePass());
  EXPECT_FALSE(layer.passState().depthWrite);
  lines_.drawLine(-3.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 1.0f);
  lines_.drawLine(0.0f, -3.0f, 0.0f, 0.0f, 3.0f, 0.0f, 1.0f);
  lines_.endLines();
  surface_->end();
  // Both segments go to the driver in one draw.
  EXPECT_EQ(drawCounts().drawCalls, drawsBefore + 1);
  EXPECT_TRUE(noProgramRuns());
}

TEST_F(VolumeLinesDrawing, segmentsGlowAsTubesFromTheSideAndAsSpotsEndOnWithoutSmearing) {
  ASSERT_TRUE(surface_->ready());
  // From the side: a bar across the middle, glowing along its length, dark above and below.
  drawSegment(-3.0f, 0.0f, 0.0f, 3.0f, 0.0f, 0.0f, 1.0f);
  EXPECT_GT(lit_, 100);
  EXPECT_GT(surface_->pixel(64, 64).r, 150);
  EXPECT_GT(surface_->pixel(40, 64).r, 150);
  EXPECT_LT(surface_->pixel(64, 90).r, 40);
  EXPECT_LT(surface_->pixel(64, 38).r, 40);
  const int sideOn = lit_;

  // End-on, along the line of sight: a small round spot at the centre, neither gone nor spread.
  drawSegment(0.0f, 0.0f, -3.0f, 0.0f, 0.0f, 3.0f, 1.0f);
  EXPECT_GT(lit_, 2);
  EXPECT_LT(lit_, sideOn / 4);
  EXPECT_GT(surface_->pixel(64, 64).r, 96);
  EXPECT_EQ(leftLit_, 0);

  // Coinciding end points: the same kind of spot.
  drawSegment(1.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f);
  EXPECT_GT(lit_, 2);
  EXPECT_LT(lit_, sideOn / 4);
  EXPECT_EQ(leftLit_, 0);

  // A segment reaching from in front of the viewer to behind it, off to the right: it runs from
  // near the centre to the right edge, and nothing is smeared over the left of the picture.
  drawSegment(2.0f, 0.0f, -10.0f, 2.0f, 0.0f, 30.0f, 0.5f);
  EXPECT_GT(lit_, 10);
  EXPECT_EQ(leftLit_, 0);
}

}  // namespace
