// The presentation program: parses its options and plays.
#include <cstdio>
#include <string>

#include "app/allocation_counter.h"
#include "app/options.h"
#include "app/program.h"
#include "core/program_name.h"
#include "platform/native_window.h"
#include "platform/step_loop.h"

int main(int argc, char* argv[]) {
  AppOptions options;
  std::string message;
  const OptionsOutcome outcome = parseOptions(argc, argv, options, message);
  if (outcome == OptionsOutcome::ExitSuccess) {
    std::fputs(message.c_str(), stdout);
    return 0;
  }
  if (outcome == OptionsOutcome::ExitUsage) {
    std::fputs(message.c_str(), stderr);
    return 2;
  }
  std::string unopened;
  const bool display = platform::displayAvailable(unopened);
  drawOffScreenWhereNeeded(options, display);
  // Said only where it changes the run: one that makes files draws them off-screen instead.
  if (!unopened.empty() && options.offScreen && options.videoPath.empty()) {
    std::fprintf(stderr, "%s: cannot open the display %s: drawing off-screen\n", kPresentationName, unopened.c_str());
  }
  PresentationRun run(options, &allocationCount);
  return platform::runSteps(run.steps());
}
