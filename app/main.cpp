// The presentation program: parses its options and plays.
#include <cstdio>
#include <string>

#include "app/allocation_counter.h"
#include "app/options.h"
#include "app/program.h"
#include "platform/native_window.h"

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
  drawOffScreenWhereNeeded(options, platform::displayAvailable());
  return runPresentation(options, &allocationCount);
}
