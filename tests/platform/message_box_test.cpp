#include "platform/message_box.h"

#include <gtest/gtest.h>

#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

// Unattended runs never wait: every box takes its default button, and its text goes to stderr
// and the log so that whoever reads them later knows what was asked.
TEST(MessageBox, unattendedBoxesTakeTheirDefaultAndReachStderrAndTheLog) {
  PrivateWorkingFolder folder;
  platform::clearScriptedMode();
  platform::setUnattendedMode(true);
  testing::internal::CaptureStderr();
  const platform::BoxAnswer question = platform::showMessageBox(
      "Use Windowed Mode Instead?", "Orvo GL", platform::BoxButtons::YesNo, platform::BoxIcon::Exclamation);
  const platform::BoxAnswer notice =
      platform::showMessageBox("Unable to find the file: data/sky.3ds!", "Error", platform::BoxButtons::Ok,
                               platform::BoxIcon::Stop);
  const std::string printed = testing::internal::GetCapturedStderr();
  platform::setUnattendedMode(false);
  platform::setScriptedAnswers({});

  EXPECT_EQ(question, platform::BoxAnswer::Yes);
  EXPECT_EQ(notice, platform::BoxAnswer::Ok);
  EXPECT_EQ(printed,
            "orvo-gl: [exclamation box, unattended] Orvo GL: Use Windowed Mode Instead?\n"
            "orvo-gl: [stop box, unattended] Error: Unable to find the file: data/sky.3ds!\n");
  EXPECT_EQ(readTextFile(kLogFileName),
            "Box (answered Yes) Orvo GL: Use Windowed Mode Instead?\r\n"
            "Box (answered OK) Error: Unable to find the file: data/sky.3ds!\r\n");
}

// ORVO_GL_BOX_ANSWERS= (an empty list, answering No) set in the environment, --unattended typed: the
// typed option wins, so the question takes its default, Yes, and the run goes on in a window.
TEST(MessageBox, unattendedModeAskedForGoesBeforeTheEnvironmentsScriptedAnswers) {
  PrivateWorkingFolder folder;
  platform::setScriptedAnswers({});
  platform::setUnattendedMode(true);
  testing::internal::CaptureStderr();
  const platform::BoxAnswer question = platform::showMessageBox(
      "Use Windowed Mode Instead?", "Orvo GL", platform::BoxButtons::YesNo, platform::BoxIcon::Exclamation);
  const std::string printed = testing::internal::GetCapturedStderr();
  const bool scripted = platform::scriptedMode();
  platform::setUnattendedMode(false);
  platform::setScriptedAnswers({});

  EXPECT_EQ(question, platform::BoxAnswer::Yes);
  EXPECT_FALSE(scripted);
  EXPECT_EQ(printed, "orvo-gl: [exclamation box, unattended] Orvo GL: Use Windowed Mode Instead?\n");
}

}  // namespace
