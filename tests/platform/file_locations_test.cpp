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
constexpr const char* kMarker = "Basic_vert.cg";

class ResourceFolderTest : public testing::Test {
 protected:
  PrivateWorkingFolder working;

  // A folder under the working folder, as a candidate names it; it holds what is asked for.
  std::string makeCandidate(const std::string& name, bool withData, bool withMarker) const {
    const std::string folder = working.path() + "/" + name + "/";
    std::filesystem::create_directories(folder);
    if (withData) {
      std::filesystem::create_directories(folder + kData);
    }
    if (withMarker) {
      writeTextFile(folder + kMarker, "void main() {}\n");
    }
    return folder;
  }
};

TEST_F(ResourceFolderTest, theFirstFolderHoldingDataAndTheMarkerIsTaken) {
  const std::vector<std::string> candidates = {
      makeCandidate("empty", false, false), makeCandidate("data-only", true, false),
      makeCandidate("marker-only", false, true), makeCandidate("both", true, true),
      makeCandidate("both-again", true, true)};
  std::string folder;
  ASSERT_TRUE(platform::findResourceFolder(candidates, kData, kMarker, folder));
  EXPECT_EQ(folder, candidates[3]);
}

TEST_F(ResourceFolderTest, theWorkingFolderIsTheEmptyNameAndComesFirst) {
  const std::string elsewhere = makeCandidate("elsewhere", true, true);
  std::filesystem::create_directories(kData);
  writeTextFile(kMarker, "void main() {}\n");
  std::string folder = "unchanged";
  ASSERT_TRUE(platform::findResourceFolder({"", elsewhere}, kData, kMarker, folder));
  EXPECT_EQ(folder, "");
}

TEST_F(ResourceFolderTest, dataThatIsAFileOrAMarkerThatIsAFolderDoesNotCount) {
  const std::string folder = makeCandidate("impostor", false, false);
  writeTextFile(folder + "data", "not a folder");
  std::filesystem::create_directories(folder + kMarker);
  std::string found = "unchanged";
  EXPECT_FALSE(platform::findResourceFolder({folder, makeCandidate("nothing", false, false)}, kData, kMarker, found));
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

TEST(StateFolderTest, followsXdgStateHomeElseHomeAndIgnoresRelativePaths) {
  EXPECT_EQ(platform::stateFolder("/state", "/home/user"), "/state/orvo-gl/");
  EXPECT_EQ(platform::stateFolder("/state/", "/home/user"), "/state/orvo-gl/");
  EXPECT_EQ(platform::stateFolder(nullptr, "/home/user"), "/home/user/.local/state/orvo-gl/");
  EXPECT_EQ(platform::stateFolder("", "/home/user"), "/home/user/.local/state/orvo-gl/");
  EXPECT_EQ(platform::stateFolder("relative/state", "/home/user"), "/home/user/.local/state/orvo-gl/");
  EXPECT_EQ(platform::stateFolder(nullptr, "relative"), "");
  EXPECT_EQ(platform::stateFolder(nullptr, nullptr), "");
}

TEST(CreateFoldersTest, makesEveryMissingParentAndAcceptsWhatExists) {
  const PrivateWorkingFolder working;
  const std::string nested = working.path() + "/a/b/c/";
  EXPECT_TRUE(platform::createFolders(nested));
  EXPECT_TRUE(std::filesystem::is_directory(nested));
  EXPECT_TRUE(platform::createFolders(nested));
  writeTextFile(working.path() + "/file", "");
  EXPECT_FALSE(platform::createFolders(working.path() + "/file/below/"));
}

}  // namespace
