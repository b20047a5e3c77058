// The one way a failure reaches the user: its line in the log, its line on stderr and its message
// box, each where the failure has one.
#pragma once

#include <string>

#include "platform/message_box.h"

namespace platform {

struct FailureReport {
  // Appended to the log as it stands, line end included; none when empty.
  std::string logLine;
  // Written to stderr after the program's name and ": ", with a line end; none when empty.
  std::string stderrLine;
  // The box the user answers; none when its text is empty.
  std::string boxText;
  std::string boxCaption;
  BoxIcon boxIcon = BoxIcon::Exclamation;
  BoxButtons boxButtons = BoxButtons::Ok;
};

// A report with a box and nothing else.
FailureReport boxReport(const std::string& text, const std::string& caption, BoxIcon icon);

// Shows the box first, then appends the log line and writes the stderr line. A box not shown on a
// display writes its own stderr line, as every box does. The box's answer; Ok without a box.
BoxAnswer reportFailure(const FailureReport& report);

}  // namespace platform
