// Replays the kept fuzz corpora through the fuzz entry functions, compiled here without libFuzzer:
// every input that once found new code must still run through without a crash (and, in the
// sanitizer build, without a report).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "fuzz/fuzz_entries.h"
#include "tests/support/private_working_folder.h"
#include "tests/support/text_files.h"

namespace {

using FuzzEntry = int (*)(const uint8_t*, size_t);

// Runs every file of fuzz/corpus/<target> through entry; the number of files run.
size_t replayCorpus(const std::string& target, FuzzEntry entry) {
  const std::filesystem::path folder = std::filesystem::path(FUZZ_CORPUS_DIR) / target;
  // The entries log as the program does; their lines go to a folder of their own.
  PrivateWorkingFolder working;
  size_t count = 0;
  for (const auto& file : std::filesystem::directory_iterator(folder)) {
    const std::string bytes = readTextFile(file.path().string());
    SCOPED_TRACE(file.path().string());
    EXPECT_EQ(entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
    ++count;
  }
  return count;
}

TEST(FuzzCorpusReplay, everyKeptInputRunsThroughItsEntry) {
  testing::internal::CaptureStderr();
  const size_t models = replayCorpus("model_3ds", &fuzzModel3ds);
  const size_t pictures = replayCorpus("picture", &fuzzPicture);
  const size_t alphas = replayCorpus("texture_alpha", &fuzzTextureAlpha);
  const size_t terrains = replayCorpus("terrain", &fuzzTerrain);
  testing::internal::GetCapturedStderr();
  EXPECT_GT(models, 0u);
  EXPECT_GT(pictures, 0u);
  EXPECT_GT(alphas, 0u);
  EXPECT_GT(terrains, 0u);
}

}  // namespace
