// Showing a box where the user sees it, which each target does its own way: SDL's box on the
// desktop (message_box_display_desktop.cpp), a console line on the web, which never waits
// (message_box_display_web.cpp). showMessageBox decides whether a box is shown at all.
#pragma once

#include <string>

#include "platform/message_box.h"

namespace platform {

// Shows the box and waits for its answer where the target waits; false when there is nowhere to
// show it (no display), the answer then unset.
bool showBoxOnDisplay(const std::string& text, const std::string& caption, BoxButtons buttons, BoxIcon icon,
                      BoxAnswer& answer);

const char* answerName(BoxAnswer answer);  // "OK", "Yes", "No"
// The button a box takes when Return is pressed on it.
BoxAnswer defaultAnswer(BoxButtons buttons);
// The button a box takes when Escape is pressed on it or it is closed.
BoxAnswer escapeAnswer(BoxButtons buttons);

}  // namespace platform
