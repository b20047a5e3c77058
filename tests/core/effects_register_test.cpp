#include "core/effects_register.h"

#include <gtest/gtest.h>

#include <string>

#include "core/debug_log.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

TEST(EffectsRegister, anEffectOffAtLoadKeepsItsFirstReasonAndNeverComesBackOn) {
  EffectsRegister effects;
  // Not yet loaded: nothing draws it, and the report has nothing against it.
  EXPECT_FALSE(effects.isOn(Effect::VolumeLines));
  EXPECT_FALSE(effects.isOff(Effect::VolumeLines));

  effects.switchOff(Effect::VolumeLines, "no multitexture");
  effects.switchOff(Effect::VolumeLines, "no vertex stage");
  effects.switchOn(Effect::VolumeLines);
  EXPECT_FALSE(effects.isOn(Effect::VolumeLines));
  EXPECT_EQ(effects.offReason(Effect::VolumeLines), "no multitexture");

  // An effect given no reason is still off, and says so.
  effects.switchOff(Effect::PerPixelLighting, "");
  EXPECT_TRUE(effects.isOff(Effect::PerPixelLighting));
  EXPECT_EQ(effects.offReason(Effect::PerPixelLighting), "no reason given");

  effects.beginLoading();
  EXPECT_FALSE(effects.isOff(Effect::VolumeLines));
  effects.switchOn(Effect::VolumeLines);
  EXPECT_TRUE(effects.isOn(Effect::VolumeLines));
}

TEST(EffectsRegister, oneScenesSurfacesOffTakeTheRenderTargetsOffButLeaveTheOtherScenesOn) {
  EffectsRegister effects;
  effects.switchOn(Effect::LandscapeSurface);
  effects.switchOn(Effect::TitleLayers);
  effects.switchOff(Effect::TitleLayers, "refused at 0 x 0");
  EXPECT_TRUE(effects.isOn(Effect::LandscapeSurface));
  EXPECT_TRUE(effects.isOff(Effect::RenderTargets));
  EXPECT_EQ(effects.offReason(Effect::RenderTargets), "refused at 0 x 0");

  // The report keeps the first set's reason; each set keeps its own.
  effects.switchOff(Effect::LandscapeSurface, "no framebuffer objects");
  EXPECT_EQ(effects.offReason(Effect::RenderTargets), "refused at 0 x 0");
  EXPECT_EQ(effects.offReason(Effect::LandscapeSurface), "no framebuffer objects");
  EXPECT_EQ(reportedEffect(Effect::BubbleSurface), Effect::RenderTargets);
  EXPECT_EQ(reportedEffect(Effect::PerPixelLighting), Effect::PerPixelLighting);
}

// The start-up report tells what loading switched off; after it, each switch-off has a line of its
// own when it happens, and only the first.
TEST(EffectsRegister, switchOffsAfterTheStartUpReportAreLoggedOnceWithTheirTime) {
  const PrivateWorkingFolder folder;
  EffectsRegister effects;
  effects.switchOff(Effect::BubbleSurface, "refused while loading");
  EXPECT_EQ(readTextFile(kLogFileName), "");

  effects.endLoading();
  effects.switchOff(Effect::TitleLayers, "a drawing surface was refused: Framebuffer unsupported", 97.3f);
  effects.switchOff(Effect::TitleLayers, "refused again", 98.0f);
  EXPECT_EQ(readTextFile(kLogFileName),
            "Effects: render targets off from 97.30 s for the title layers: a drawing surface was refused: "
            "Framebuffer unsupported\r\n");
}

}  // namespace
