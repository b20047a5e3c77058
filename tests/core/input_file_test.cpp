#include "core/input_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

TEST(InputFile, regularFilesAreReadWholeAndMissingOnesSaySo) {
  PrivateWorkingFolder folder;
  writeTextFile("model.3ds", std::string("MM\x10\0\0\0", 6));
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(readInputFile("model.3ds", 64, bytes).ok());
  EXPECT_EQ(bytes.size(), 6u);

  writeTextFile("empty.jpg", "");
  EXPECT_TRUE(readInputFile("empty.jpg", 64, bytes).ok());
  EXPECT_TRUE(bytes.empty());

  const InputFileResult missing = readInputFile("no/such.jpg", 64, bytes);
  EXPECT_EQ(missing.problem, InputFileProblem::Missing);
  EXPECT_EQ(missing.reason, "not found");
}

// Each of these once blocked, aborted or ate memory: none may be read at all.
TEST(InputFile, foldersFifosDevicesAndOversizedFilesAreRefusedBeforeReading) {
  PrivateWorkingFolder folder;
  std::vector<uint8_t> bytes = {1, 2, 3};
  std::filesystem::create_directory("sky.3ds");
  const InputFileResult folderResult = readInputFile("sky.3ds", 64, bytes);
  EXPECT_EQ(folderResult.problem, InputFileProblem::Folder);
  EXPECT_EQ(folderResult.reason, "is a folder, not a file");
  EXPECT_TRUE(bytes.empty());

  // No writer ever opens it: a blocking open would never return.
  ASSERT_EQ(mkfifo("pipe.jpg", 0600), 0);
  EXPECT_EQ(readInputFile("pipe.jpg", 64, bytes).reason, "is a FIFO, not a regular file");
  EXPECT_EQ(readInputFile("/dev/zero", 64, bytes).reason, "is a device, not a regular file");

  // A sparse file: its size is checked before a single byte is allocated for it.
  writeTextFile("huge.jpg", "");
  ASSERT_EQ(truncate("huge.jpg", 2LL * 1024 * 1024 * 1024), 0);
  const InputFileResult huge = readInputFile("huge.jpg", 1000, bytes);
  EXPECT_EQ(huge.problem, InputFileProblem::TooLarge);
  EXPECT_EQ(huge.reason, "is larger than the 1000-byte limit");
  EXPECT_TRUE(bytes.empty());
}

}  // namespace
