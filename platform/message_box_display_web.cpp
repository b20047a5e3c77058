// Boxes on the web: a page cannot stop and wait for an answer, so the box is a line on the
// browser's console (the program's standard output) and takes its default button at once.
#include "platform/message_box_display.h"

#include <cstdio>

namespace platform {

bool showBoxOnDisplay(const std::string& text, const std::string& caption, BoxButtons buttons, BoxIcon /*icon*/,
                      BoxAnswer& answer) {
  answer = defaultAnswer(buttons);
  std::printf("%s: %s (answered %s)\n", caption.c_str(), text.c_str(), answerName(answer));
  std::fflush(stdout);
  return true;
}

}  // namespace platform
