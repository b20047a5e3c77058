// Modal message boxes, with a scripted mode that answers without showing anything.
#pragma once

#include <string>
#include <vector>

namespace platform {

enum class BoxButtons { Ok, YesNo };
enum class BoxIcon { Exclamation, Stop, Information };
enum class BoxAnswer { Ok, Yes, No };

struct RecordedBox {
  std::string text;
  std::string caption;
  BoxButtons buttons = BoxButtons::Ok;
  BoxIcon icon = BoxIcon::Exclamation;
  BoxAnswer answer = BoxAnswer::Ok;
};

// Shows a box and waits for the user. With no display the text goes to stderr and the answer is
// Ok or No. In scripted mode the box is recorded, printed to stderr and answered at once.
BoxAnswer showMessageBox(const std::string& text, const std::string& caption, BoxButtons buttons,
                         BoxIcon icon);

// Scripted mode: Yes/No boxes take the answers in order (No once they run out); OK boxes take Ok.
// The environment variable DEMO_BOX_ANSWERS ("yes,no,...") switches it on for a whole run.
void setScriptedAnswers(const std::vector<BoxAnswer>& answers);
void clearScriptedMode();
bool scriptedMode();
const std::vector<RecordedBox>& recordedBoxes();
void clearRecordedBoxes();

}  // namespace platform
