#include "platform/file_locations.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

constexpr const char* kData = "data/";
const std::vector<std::string> kShaders = {"Basic_vert.cg", "PerPixel_textured_frag.cg", "volumeLines_vs.cg",
                                           "volumeLines_fs.cg"};

class ResourceFolderTest : public testing::Test {
 protected:
  PrivateWorkingFolder working;

  // A folder under the working folder, as a candidate names it; it holds data/ when asked and the
  // first `shaderCount` shader files.
  std::string makeCandidate(const std::string& name, bool withData, size_t shaderCount) const {
    const std::string folder = working.path() + "/" + name + "/";
    std::filesystem::create_directories(folder);
    if (withData) {
      std::filesystem::create_directories(folder + kData);
    }
    for (size_t n = 0; n < shaderCount; ++n) {
      writeTextFile(folder + kShaders[n], "void main() {}\n");
    }
    return folder;
  }
};

TEST_F(ResourceFolderTest, theFirstFolderHoldingDataAndEveryShaderFileIsTaken) {
  const std::vector<std::string> candidates = {
      makeCandidate("empty", false, 0),        makeCandidate("data-only", true, 0),
      makeCandidate("shaders-only", false, 4), makeCandidate("data-and-one-shader", true, 1),
      makeCandidate("data-and-three-shaders", true, 3), makeCandidate("all", true, 4),
      makeCandidate("all-again", true, 4)};
  std::string folder;
  ASSERT_TRUE(platform::findResourceFolder(candidates, kData, kShaders, folder));
  EXPECT_EQ(folder, candidates[5]);
}

TEST_F(ResourceFolderTest, theWorkingFolderIsTheEmptyNameAndComesFirst) {
  const std::string elsewhere = makeCandidate("elsewhere", true, 4);
  std::filesystem::create_directories(kData);
  for (const std::string& shader : kShaders) {
    writeTextFile(shader, "void main() {}\n");
  }
  std::string folder = "unchanged";
  ASSERT_TRUE(platform::findResourceFolder({"", elsewhere}, kData, kShaders, folder));
  EXPECT_EQ(folder, "");
}

TEST_F(ResourceFolderTest, dataThatIsAFileOrAShaderThatIsAFolderDoesNotCount) {
  const std::string folder = makeCandidate("impostor", false, 3);
  writeTextFile(folder + "data", "not a folder");
  std::filesystem::create_directories(folder + kShaders[3]);
  std::string found = "unchanged";
  EXPECT_FALSE(platform::findResourceFolder({folder, makeCandidate("nothing", false, 0)}, kData, kShaders, found));
  EXPECT_EQ(found, "unchanged");
}

TEST_F(ResourceFolderTest, candidatesStartWithTheWorkingFolderThenTheProgramsFolderEachOnce) {
  const std::vector<std::string> candidates = platform::resourceFolderCandidates();
  ASSERT_GE(candidates.size(), 3u);
  EXPECT_EQ(candidates[0], "");
  char program[PATH_MAX];
  ASSERT_NE(realpath("/proc/self/exe", program), nullptr);
  const std::string programFolder = std::filesystem::path(program).parent_path().string() + "/";
  EXPECT_EQ(candidates[1], programFolder);
  for (size_t n = 1; n < candidates.size(); ++n) {
    EXPECT_EQ(candidates[n].front(), '/') << candidates[n];
    EXPECT_EQ(candidates[n].back(), '/') << candidates[n];
    for (size_t m = 0; m < n; ++m) {
      EXPECT_NE(candidates[n], candidates[m]);
    }
  }
}

TEST_F(ResourceFolderTest, theWorkingFolderIsDescribedWithItsPath) {
  EXPECT_EQ(platform::describeFolder(""), "the working folder " + working.path() + "/");
  EXPECT_EQ(platform::describeFolder("/usr/share/orvo-gl/"), "/usr/share/orvo-gl/");
}

TEST(StateFolderTest, triesXdgStateHomeThenHomeAndIgnoresRelativePaths) {
  using Folders = std::vector<std::string>;
  const std::string fromHome = "/home/user/.local/state/orvo-gl/";
  EXPECT_EQ(platform::stateFolders("/state", "/home/user"), (Folders{"/state/orvo-gl/", fromHome}));
  EXPECT_EQ(platform::stateFolders("/state/", "/home/user"), (Folders{"/state/orvo-gl/", fromHome}));
  EXPECT_EQ(platform::stateFolders(nullptr, "/home/user"), Folders{fromHome});
  EXPECT_EQ(platform::stateFolders("", "/home/user"), Folders{fromHome});
  EXPECT_EQ(platform::stateFolders("relative/state", "/home/user"), Folders{fromHome});
  EXPECT_EQ(platform::stateFolders("/home/user/.local/state", "/home/user"), Folders{fromHome});
  EXPECT_EQ(platform::stateFolders("/state", "relative"), Folders{"/state/orvo-gl/"});
  EXPECT_EQ(platform::stateFolders(nullptr, nullptr), Folders{});
}

// A deleted working folder still grants write permission, but no file can be made in it.
TEST(WorkingFolderTest, aDeletedWorkingFolderCannotBeWritten) {
  const PrivateWorkingFolder working;
  EXPECT_TRUE(platform::workingFolderWritable());
  std::filesystem::remove(working.path());
  EXPECT_FALSE(platform::workingFolderWritable());
}

TEST(CreateFoldersTest, makesEveryMissingParentAndAcceptsWhatExists) {
  const PrivateWorkingFolder working;
  const std::string nested = working.path() + "/a/b/c/";
  EXPECT_TRUE(platform::createFolders(nested));
  EXPECT_TRUE(std::filesystem::is_directory(nested));
  EXPECT_TRUE(platform::createFolders(nested));
  writeTextFile(working.path() + "/file", "");
  EXPECT_FALSE(platform::createFolders(working.path() + "/file/below/"));
  EXPECT_FALSE(platform::createFolders(working.path() + "/file/"));
}

}  // namespace
