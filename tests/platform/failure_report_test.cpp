#include "platform/failure_report.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

// What one report left behind: its answer, the stderr text and the log's text.
struct Outcome {
  platform::BoxAnswer answer = platform::BoxAnswer::Ok;
  std::string printed;
  std::string logged;
};

class FailureReportTest : public testing::Test {
 protected:
  void SetUp() override { platform::clearRecordedBoxes(); }
  void TearDown() override {
    platform::setUnattendedMode(false);
    platform::setScriptedAnswers({});
  }

  static Outcome report(const platform::FailureReport& failure) {
    Outcome outcome;
    testing::internal::CaptureStderr();
    outcome.answer = platform::reportFailure(failure);
    outcome.printed = testing::internal::GetCapturedStderr();
    outcome.logged = readTextFile(kLogFileName);
    return outcome;
  }

  static platform::FailureReport windowFailure() {
    platform::FailureReport failure =
        platform::boxReport("Window Creation Error.", "ERROR", platform::BoxIcon::Exclamation);
    failure.logLine = "Could not create window\r\n";
    failure.stderrLine = "could not create the window: Window Creation Error. (no display)";
    return failure;
  }

  PrivateWorkingFolder folder_;
};

// A box alone is told once on stderr, by the box itself, and the report adds nothing of its own.
TEST_F(FailureReportTest, aBoxAloneIsRecordedAndPrintedOnce) {
  const Outcome outcome =
      report(platform::boxReport("Unable to find the file: data/sky.3ds!", "Error", platform::BoxIcon::Stop));

  EXPECT_EQ(outcome.answer, platform::BoxAnswer::Ok);
  EXPECT_EQ(outcome.printed, "orvo-gl: [stop box, scripted] Error: Unable to find the file: data/sky.3ds!\n");
  EXPECT_EQ(outcome.logged, "");
  ASSERT_EQ(platform::recordedBoxes().size(), 1u);
  const platform::RecordedBox& box = platform::recordedBoxes().back();
  EXPECT_EQ(box.text, "Unable to find the file: data/sky.3ds!");
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.icon, platform::BoxIcon::Stop);
  EXPECT_EQ(box.buttons, platform::BoxButtons::Ok);
}

// Box, log line and stderr line of one failure: each exactly once, the box's line first.
TEST_F(FailureReportTest, aBoxWithItsLinesWritesEachOnce) {
  const Outcome outcome = report(windowFailure());

  EXPECT_EQ(outcome.printed,
            "orvo-gl: [exclamation box, scripted] ERROR: Window Creation Error.\n"
            "orvo-gl: could not create the window: Window Creation Error. (no display)\n");
  EXPECT_EQ(outcome.logged, "Could not create window\r\n");
  EXPECT_EQ(platform::recordedBoxes().size(), 1u);
}

// An unattended box logs its own line; the failure's line follows it, as the user would read them.
TEST_F(FailureReportTest, unattendedTheBoxsLogLineComesBeforeTheFailuresOwn) {
  platform::setUnattendedMode(true);
  const Outcome outcome = report(windowFailure());

  EXPECT_EQ(outcome.logged, "Box (answered OK) ERROR: Window Creation Error.\r\nCould not create window\r\n");
  EXPECT_EQ(outcome.printed,
            "orvo-gl: [exclamation box, unattended] ERROR: Window Creation Error.\n"
            "orvo-gl: could not create the window: Window Creation Error. (no display)\n");
}

TEST_F(FailureReportTest, aQuestionGivesTheUsersAnswer) {
  platform::setScriptedAnswers({platform::BoxAnswer::No, platform::BoxAnswer::Yes});
  platform::FailureReport question =
      platform::boxReport("Use Windowed Mode Instead?", "Orvo GL", platform::BoxIcon::Exclamation);
  question.boxButtons = platform::BoxButtons::YesNo;

  EXPECT_EQ(report(question).answer, platform::BoxAnswer::No);
  EXPECT_EQ(report(question).answer, platform::BoxAnswer::Yes);
  ASSERT_EQ(platform::recordedBoxes().size(), 2u);
  EXPECT_EQ(platform::recordedBoxes().back().buttons, platform::BoxButtons::YesNo);
}

// Without a box: no box is recorded, and the lines go out as given, a file name's '%' included.
TEST_F(FailureReportTest, withoutABoxTheLinesAreWrittenAsGiven) {
  platform::FailureReport damaged;
  damaged.stderrLine = "3DS reader: 100%s.3ds is damaged at byte 12; keeping what was read before it";
  damaged.logLine = "Initializing GLEW failed!";
  const Outcome outcome = report(damaged);

  EXPECT_EQ(outcome.answer, platform::BoxAnswer::Ok);
  EXPECT_TRUE(platform::recordedBoxes().empty());
  EXPECT_EQ(outcome.printed, "orvo-gl: 3DS reader: 100%s.3ds is damaged at byte 12; keeping what was read before it\n");
  EXPECT_EQ(outcome.logged, "Initializing GLEW failed!");
}

}  // namespace
