// Modal message boxes, with a scripted mode and an unattended mode that answer without showing
// anything.
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
// Ok or No. In scripted mode the box is recorded, printed to stderr and answered at once. In
// unattended mode it takes its default button (Ok, or Yes) at once and its text goes to stderr
// and the log. A box's line on stderr begins with the program's name. Once a stop signal has come, a box that is up closes and later ones are not shown;
// both answer Ok or No, the answers that end the program soonest.
BoxAnswer showMessageBox(const std::string& text, const std::string& caption, BoxButtons buttons,
                         BoxIcon icon);

// Scripted mode: Yes/No boxes take the answers in order (No once they run out); OK boxes take Ok.
// The environment variable ORVO_GL_BOX_ANSWERS ("yes,no,...", or by its older name DEMO_BOX_ANSWERS)
// switches it on for a whole run; a word that is neither answer is left out, with a line on stderr.
void setScriptedAnswers(const std::vector<BoxAnswer>& answers);
void clearScriptedMode();
bool scriptedMode();
// Unattended mode: for runs nobody watches. The environment variable ORVO_GL_UNATTENDED=1 (true,
// yes, on; 0, false, no, off leave it off; or by its older name DEMO_UNATTENDED) switches it on for a
// whole run, as the --unattended option does; either ends the scripted mode ORVO_GL_BOX_ANSWERS set
// up.
void setUnattendedMode(bool on);
bool unattendedMode();
const std::vector<RecordedBox>& recordedBoxes();
void clearRecordedBoxes();

}  // namespace platform
