#include "app/resource_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "audio/sound_player.h"
#include "core/debug_log.h"
#include "effects/volume_lines.h"
#include "gpu/shader_manager.h"
#include "gpu/texture_manager.h"
#include "platform/message_box.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/shader_test_files.h"
#include "tests/support/text_files.h"
#include "world/model_cache.h"

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

// A resource folder beside the working folder, with its data folder; the loaders read from the
// working folder again afterwards, as they do before start-up.
class ResourcePathsTest : public testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(resources_ + kDataFolder);
    platform::clearRecordedBoxes();
  }
  void TearDown() override { pointLoadersAt(ResourcePaths{}); }

  PrivateWorkingFolder working_;
  const std::string resources_ = working_.path() + "/resources/";
};

// The working folder is named by the empty string, so every file name in a message stays as the
// user gave it: "data/sky.3ds", not a whole path.
TEST_F(ResourcePathsTest, theWorkingFolderHoldingTheFilesKeepsNamesAsGiven) {
  std::filesystem::create_directory(kDataFolder);
  for (const char* shader : {kPerPixelVertexFile, kPerPixelFragmentFile, kVolumeLinesVertexFile,
                             kVolumeLinesFragmentFile}) {
    writeTextFile(shader, kTestVertexSource);
  }
  ResourcePaths paths;
  ASSERT_TRUE(findResourcePaths(paths));
  EXPECT_EQ(paths.resourceFolder, "");
  EXPECT_EQ(paths.dataFolder, "data/");
}

// Pictures, models and sounds are looked for in the data folder of the paths start-up hands on.
TEST_F(ResourcePathsTest, everyDataLoaderReadsUnderTheDataFolderItWasGiven) {
  // A 2 x 2 Targa picture, 24 bits.
  std::string targa("\0\0\2\0\0\0\0\0\0\0\0\0\2\0\2\0\x18\0", 18);
  targa.append(12, '\xc8');
  writeTextFile(resources_ + "data/paths_test_hull.tga", targa);
  const char* const previousDriver = std::getenv("SDL_AUDIODRIVER");
  const std::string driver = previousDriver != nullptr ? previousDriver : "";
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  pointLoadersAt(resourcePathsIn(resources_));

  EXPECT_NE(textureManager().decodeImage("paths_test_hull.tga"), nullptr);
  ModelCache models;
  EXPECT_EQ(models.getModel("paths_test_missing.3ds"), nullptr);
  ASSERT_EQ(platform::recordedBoxes().size(), 1u);
  EXPECT_EQ(platform::recordedBoxes().back().text,
            "Unable to find the file: " + resources_ + "data/paths_test_missing.3ds!");
  soundPlayer().initSound();
  EXPECT_FALSE(soundPlayer().loadSound(1, "paths_test_missing.mp3", false));
  soundPlayer().closeSound();
  if (previousDriver != nullptr) {
    setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
  } else {
    unsetenv("SDL_AUDIODRIVER");
  }

  const std::string log = readTextFile(kLogFileName);
  EXPECT_NE(log.find(" trying file " + resources_ + "data/paths_test_hull.tga loaded"), std::string::npos) << log;
  EXPECT_NE(log.find("SoundPlayer: cannot load " + resources_ + "data/paths_test_missing.mp3 ("), std::string::npos)
      << log;
}

// Shader files are read from the resource folder itself, not from its data folder.
TEST_F(ResourcePathsTest, theShaderManagerReadsUnderTheResourceFolder) {
  REQUIRE_GL_CONTEXT();
  writeTextFile(resources_ + "paths_test.cg", kTestVertexSource);
  pointLoadersAt(resourcePathsIn(resources_));
  EXPECT_NE(shaderManager().newProgram("paths_test.cg", platform::kProfileClassVertex, "main"), nullptr);
  pointLoadersAt(resourcePathsIn(resources_ + kDataFolder));
  EXPECT_EQ(shaderManager().newProgram("paths_test.cg", platform::kProfileClassVertex, "main"), nullptr);
  shaderManager().release();
}

}  // namespace
