#include "platform/message_box.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <sstream>

#include "core/debug_log.h"
#include "core/environment_setting.h"
#include "core/program_name.h"
#include "platform/message_box_display.h"
#include "platform/stop_signals.h"

namespace platform {
namespace {

struct ScriptState {
  bool enabled = false;
  bool unattended = false;
  bool environmentRead = false;
  std::deque<BoxAnswer> answers;
  std::vector<RecordedBox> recorded;
};

ScriptState& script() {
  static ScriptState state;
  return state;
}

void readEnvironmentOnce() {
  ScriptState& state = script();
  if (state.environmentRead) {
    return;
  }
  state.environmentRead = true;
  const char* unattended = readEnvironmentSetting("ORVO_GL_UNATTENDED", "DEMO_UNATTENDED").value;
  state.unattended = unattended != nullptr && unattended[0] != '\0' && std::strcmp(unattended, "0") != 0;
  const char* text = readEnvironmentSetting("ORVO_GL_BOX_ANSWERS", "DEMO_BOX_ANSWERS").value;
  if (text == nullptr) {
    return;
  }
  state.enabled = true;
  std::stringstream stream(text);
  std::string word;
  while (std::getline(stream, word, ',')) {
    if (word == "yes" || word == "Yes" || word == "YES") {
      state.answers.push_back(BoxAnswer::Yes);
    } else if (word == "no" || word == "No" || word == "NO") {
      state.answers.push_back(BoxAnswer::No);
    }
  }
}

const char* iconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Exclamation:
      return "exclamation";
    case BoxIcon::Stop:
      return "stop";
    case BoxIcon::Information:
      return "information";
  }
  return "";
}

void printBox(const std::string& text, const std::string& caption, BoxIcon icon, const char* how) {
  std::fprintf(stderr, "%s: [%s box, %s] %s: %s\n", programName(), iconName(icon), how, caption.c_str(), text.c_str());
}

BoxAnswer scriptedAnswer(BoxButtons buttons) {
  ScriptState& state = script();
  if (buttons == BoxButtons::Ok) {
    return BoxAnswer::Ok;
  }
  if (state.answers.empty()) {
    return BoxAnswer::No;
  }
  const BoxAnswer answer = state.answers.front();
  state.answers.pop_front();
  return answer;
}

// Nobody will read a box that is not shown, so its text goes where a later reader looks.
BoxAnswer answerUnattended(const std::string& text, const std::string& caption, BoxButtons buttons, BoxIcon icon) {
  const BoxAnswer answer = defaultAnswer(buttons);
  printBox(text, caption, icon, "unattended");
  DebugLog::append(kLogFileName, "Box (answered %s) %s: %s\r\n", answerName(answer), caption.c_str(), text.c_str());
  return answer;
}

}  // namespace

const char* answerName(BoxAnswer answer) {
  switch (answer) {
    case BoxAnswer::Ok:
      return "OK";
    case BoxAnswer::Yes:
      return "Yes";
    case BoxAnswer::No:
      return "No";
  }
  return "";
}

BoxAnswer defaultAnswer(BoxButtons buttons) { return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Yes; }

BoxAnswer escapeAnswer(BoxButtons buttons) { return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::No; }

BoxAnswer showMessageBox(const std::string& text, const std::string& caption, BoxButtons buttons,
                         BoxIcon icon) {
  readEnvironmentOnce();
  ScriptState& state = script();
  BoxAnswer answer = escapeAnswer(buttons);
  if (state.enabled) {
    answer = scriptedAnswer(buttons);
    printBox(text, caption, icon, "scripted");
  } else if (stopSignal() != 0) {
    printBox(text, caption, icon, "not shown, stopping");
  } else if (state.unattended) {
    answer = answerUnattended(text, caption, buttons, icon);
  } else if (!showBoxOnDisplay(text, caption, buttons, icon, answer)) {
    // No display to show it on: the text still reaches the user.
    printBox(text, caption, icon, "not shown");
  }
  state.recorded.push_back(RecordedBox{text, caption, buttons, icon, answer});
  return answer;
}

void setScriptedAnswers(const std::vector<BoxAnswer>& answers) {
  ScriptState& state = script();
  state.environmentRead = true;
  state.enabled = true;
  state.answers.assign(answers.begin(), answers.end());
}

void clearScriptedMode() {
  ScriptState& state = script();
  state.enabled = false;
  state.answers.clear();
}

bool scriptedMode() {
  readEnvironmentOnce();
  return script().enabled;
}

void setUnattendedMode(bool on) {
  readEnvironmentOnce();
  ScriptState& state = script();
  state.unattended = on;
  // Asked for now, it goes before the scripted answers the environment set up, even an empty list.
  if (on) {
    clearScriptedMode();
  }
}

bool unattendedMode() {
  readEnvironmentOnce();
  return script().unattended;
}

const std::vector<RecordedBox>& recordedBoxes() { return script().recorded; }

void clearRecordedBoxes() { script().recorded.clear(); }

}  // namespace platform
