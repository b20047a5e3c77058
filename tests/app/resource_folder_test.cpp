#include "app/resource_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "core/debug_log.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    setenv(name, value.c_str(), 1);
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;
  ~ScopedVariable() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A working folder that is deleted while it is the working folder: it passes the permission
// check but takes no files. The state folders live in a folder of their own beside it.
class PlaceLogTest : public testing::Test {
 protected:
  PlaceLogTest() {
    char pattern[] = "/tmp/demo_state_XXXXXX";
    if (mkdtemp(pattern) != nullptr) {
      elsewhere_ = pattern;
    }
    std::filesystem::remove(working_.path());
  }
  ~PlaceLogTest() override {
    DebugLog::setLogPath(kLogFileName);
    DebugLog::forgetWriteFailure();
    std::error_code ignored;
    std::filesystem::remove_all(elsewhere_, ignored);
  }

  // Places the log and writes one line to it; what start-up said on stderr.
  std::string placeAndWrite() {
    testing::internal::CaptureStderr();
    placeLog();
    DebugLog::append(kLogFileName, "-- Starting --\n");
    return testing::internal::GetCapturedStderr();
  }

  PrivateWorkingFolder working_;
  std::string elsewhere_;
};

TEST_F(PlaceLogTest, aDeletedWorkingFolderSendsTheLogToTheStateFolderAndSaysSo) {
  const ScopedVariable state("XDG_STATE_HOME", elsewhere_ + "/state");
  const std::string said = placeAndWrite();
  const std::string moved = elsewhere_ + "/state/orvo-gl/debug.txt";
  EXPECT_EQ(readTextFile(moved), "-- Starting --\n");
  EXPECT_NE(said.find("the working folder cannot be written (No such file or directory)"), std::string::npos) << said;
  EXPECT_NE(said.find("the log goes to " + moved + "\n"), std::string::npos) << said;
  EXPECT_EQ(said.find("cannot write the log"), std::string::npos) << said;
}

TEST_F(PlaceLogTest, aStateHomeThatIsAFileFallsBackToTheHomeFolderNamingBoth) {
  writeTextFile(elsewhere_ + "/state-file", "not a folder");
  const ScopedVariable state("XDG_STATE_HOME", elsewhere_ + "/state-file");
  const ScopedVariable home("HOME", elsewhere_ + "/home");
  const std::string said = placeAndWrite();
  const std::string moved = elsewhere_ + "/home/.local/state/orvo-gl/debug.txt";
  EXPECT_EQ(readTextFile(moved), "-- Starting --\n");
  EXPECT_NE(said.find("nor " + elsewhere_ + "/state-file/orvo-gl/ (Not a directory)"), std::string::npos) << said;
  EXPECT_NE(said.find("the log goes to " + moved + "\n"), std::string::npos) << said;
  EXPECT_EQ(said.find("cannot write the log"), std::string::npos) << said;
}

// With nowhere to go the log's lines are lost, and stderr says which folders failed and why.
TEST_F(PlaceLogTest, noUsableFolderNamesEveryFolderThatFailed) {
  writeTextFile(elsewhere_ + "/file", "not a folder");
  const ScopedVariable state("XDG_STATE_HOME", elsewhere_ + "/file");
  const ScopedVariable home("HOME", elsewhere_ + "/file");
  const std::string said = placeAndWrite();
  EXPECT_NE(said.find("nor " + elsewhere_ + "/file/orvo-gl/ (Not a directory)"), std::string::npos) << said;
  EXPECT_NE(said.find("nor " + elsewhere_ + "/file/.local/state/orvo-gl/ (Not a directory)"), std::string::npos)
      << said;
  EXPECT_NE(said.find("cannot write the log debug.txt"), std::string::npos) << said;
}

}  // namespace
