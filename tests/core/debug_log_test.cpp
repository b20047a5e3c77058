#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/debug_log.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

// Each test has a folder of its own: tests running at the same time in other processes log into
// their own working folders.
class DebugLogTest : public testing::Test {
 protected:
  PrivateWorkingFolder folder_;
};

TEST_F(DebugLogTest, appendsFormattedTextVerbatimAfterEarlierRuns) {
  DebugLog::append(kLogFileName, "-- Starting -- \r\n");
  DebugLog::append(kLogFileName, "Loading %s ,", "palm.3ds");
  DebugLog::append(kLogFileName, "%d%%\n", 50);
  DebugLog::append(kLogFileName, "%s", "a %s that is not formatted twice\n");
  EXPECT_EQ(readTextFile(kLogFileName),
            "-- Starting -- \r\nLoading palm.3ds ,50%\na %s that is not formatted twice\n");
}

TEST_F(DebugLogTest, bothSpellingsReachTheOneLog) {
  DebugLog::append("Debug.txt", "one ");
  DebugLog::append("DEBUG.TXT", "two ");
  DebugLog::append("debug.txt", "three");
  EXPECT_EQ(readTextFile(kLogFileName), "one two three");
  std::ifstream other("Debug.txt");
  EXPECT_FALSE(other.good());
}

TEST_F(DebugLogTest, longMessagesAreCutAt1023Characters) {
  const std::string longText(3000, 'x');
  DebugLog::append(kLogFileName, "%s", longText.c_str());
  DebugLog::append(kLogFileName, "|");
  EXPECT_EQ(readTextFile(kLogFileName), std::string(1023, 'x') + "|");
}

// A log that cannot be written must not lose its lines without a word: one warning on stderr
// per run, however many lines follow.
TEST_F(DebugLogTest, unwritableLogWarnsOnceOnStderrAndDropsTheMessages) {
  DebugLog::forgetWriteFailure();
  testing::internal::CaptureStderr();
  DebugLog::append("no-such-folder/debug.txt", "lost\n");
  DebugLog::append("no-such-folder/debug.txt", "lost again\n");
  const std::string warnings = testing::internal::GetCapturedStderr();
  DebugLog::forgetWriteFailure();
  std::ifstream stream("no-such-folder/debug.txt");
  EXPECT_FALSE(stream.good());
  EXPECT_EQ(warnings,
            "orvo-gl: warning: cannot write the log no-such-folder/debug.txt (No such file or directory); "
            "log lines of this run are lost\n");
}

// Start-up moves the log out of a working folder it cannot write: every spelling of the log's
// name follows, other files stay where they are named.
TEST_F(DebugLogTest, aMovedLogTakesEverySpellingOfItsName) {
  std::remove("moved-debug.txt");
  DebugLog::setLogPath("moved-debug.txt");
  DebugLog::append("Debug.txt", "one ");
  DebugLog::append(kLogFileName, "two");
  DebugLog::append("other.txt", "elsewhere");
  DebugLog::setLogPath(kLogFileName);
  EXPECT_EQ(readTextFile("moved-debug.txt"), "one two");
  EXPECT_EQ(readTextFile(kLogFileName), "");
  EXPECT_EQ(readTextFile("other.txt"), "elsewhere");
  std::remove("moved-debug.txt");
  std::remove("other.txt");
}

}  // namespace
