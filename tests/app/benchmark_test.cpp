#include "app/benchmark.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/options.h"
#include "sequence/outdoor_scene.h"
#include "sequence/scene_list.h"
#include "sequence/title_scene.h"

namespace {

TEST(Benchmark, percentilesTakeTheNearestRank) {
  std::vector<double> values;
  for (int n = 100; n >= 1; --n) {
    values.push_back(n);
  }
  EXPECT_EQ(percentile(values, 50.0), 50.0);
  EXPECT_EQ(percentile(values, 99.0), 99.0);
  EXPECT_EQ(percentile(values, 100.0), 100.0);
  EXPECT_EQ(percentile({7.0}, 99.0), 7.0);
  EXPECT_EQ(percentile({}, 50.0), 0.0);
}

// The scene list says which scene draws a frame: the landscape up to 90 s, the titles after.
TEST(Benchmark, framesAreFiledUnderTheirSceneAndReportedAsOneJsonLine) {
  SceneList scenes;
  scenes.append(new OutdoorScene());
  scenes.append(new TitleScene());
  BenchmarkRecord record(10);
  for (const float timeSeconds : {10.0f, 90.0f, 90.1f}) {
    record.beginFrame(scenes.sceneDrawingAt(timeSeconds));
    record.endFrame();
  }
  EXPECT_EQ(record.outdoor.frameMs.size(), 2u);
  EXPECT_EQ(record.title.frameMs.size(), 1u);
  const std::string line = record.report(0.25, 1.5);
  for (const char* field : {"\"loadSeconds\": 0.250", "\"seekSeconds\": 1.500", "\"frames\": 3", "\"outdoor\": {", "\"title\": {", "\"p50ms\"",
                            "\"p99ms\"", "\"maxms\"", "\"cpuMsPerFrame\"", "\"allocationsPerFrame\"",
                            "\"drawCallsPerFrame\"", "\"trianglesPerFrame\"", "\"stateChangesPerFrame\""}) {
    EXPECT_NE(line.find(field), std::string::npos) << field << " in " << line;
  }
  EXPECT_EQ(line.find('\n'), std::string::npos);
}

// What the frames between begin and end hand to the GL is reported per frame; what came before
// the first frame (loading) is not.
TEST(Benchmark, uploadsQueriesAndLinksAreCountedPerFrameWithoutLoading) {
  countUpload(1000);
  countQueries(50);
  countProgramLink();
  BenchmarkRecord record(4);
  for (int frame = 0; frame < 4; ++frame) {
    record.beginFrame(0);
    countUpload(200);
    countQueries(frame == 0 ? 2 : 0);
    if (frame == 3) {
      countProgramLink();
    }
    record.endFrame();
  }
  const std::string line = record.report(0.0, 0.0);
  for (const char* field :
       {"\"bytesUploadedPerFrame\": 200,", "\"queriesPerFrame\": 0.50,", "\"programLinksPerFrame\": 0.250}"}) {
    EXPECT_NE(line.find(field), std::string::npos) << field << " in " << line;
  }
}

TEST(Benchmark, theOptionPlaysWindowedSilentAtSixtyStepsASecondWithAFixedSeed) {
  AppOptions options;
  std::string message;
  const char* argv[] = {"orvo-gl", "--benchmark"};
  ASSERT_EQ(parseOptions(2, argv, options, message), OptionsOutcome::Run);
  EXPECT_TRUE(options.benchmark);
  EXPECT_TRUE(options.windowed);
  EXPECT_TRUE(options.silent);
  EXPECT_FLOAT_EQ(options.fixedStepSeconds, 1.0f / 60.0f);
  EXPECT_TRUE(options.seedGiven);
  EXPECT_EQ(options.seed, 1u);
}

}  // namespace
