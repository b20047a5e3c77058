#include "platform/message_box.h"

#include <SDL.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <sstream>

#include "core/debug_log.h"
#include "core/environment_setting.h"
#include "core/program_name.h"
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

std::string lowerCase(std::string text) {
  for (char& letter : text) {
    letter = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
  }
  return text;
}

// A switch's value: on for 1, true, yes, on; off for 0, false, no, off and the empty value; any
// other value is off, with a line on stderr naming it.
bool switchedOn(const EnvironmentSetting& setting) {
  const std::string value = lowerCase(setting.value);
  for (const char* on : {"1", "true", "yes", "on"}) {
    if (value == on) {
      return true;
    }
  }
  for (const char* off : {"", "0", "false", "no", "off"}) {
    if (value == off) {
      return false;
    }
  }
  std::fprintf(stderr, "%s: %s=%s is neither on (1, true, yes, on) nor off (0, false, no, off); taken as off\n",
               programName(), setting.name, setting.value);
  return false;
}

// The scripted answers, "yes,no,...": any other word is left out, with a line on stderr naming it.
void readScriptedAnswers(const EnvironmentSetting& setting, std::deque<BoxAnswer>& answers) {
  std::stringstream stream(setting.value);
  std::string word;
  while (std::getline(stream, word, ',')) {
    const std::string answer = lowerCase(word);
    if (answer == "yes") {
      answers.push_back(BoxAnswer::Yes);
    } else if (answer == "no") {
      answers.push_back(BoxAnswer::No);
    } else {
      std::fprintf(stderr, "%s: %s: \"%s\" is not an answer (yes or no); left out\n", programName(), setting.name,
                   word.c_str());
    }
  }
}

void readEnvironmentOnce() {
  ScriptState& state = script();
  if (state.environmentRead) {
    return;
  }
  state.environmentRead = true;
  const EnvironmentSetting answers = readEnvironmentSetting("ORVO_GL_BOX_ANSWERS", "DEMO_BOX_ANSWERS");
  if (answers.value != nullptr) {
    state.enabled = true;
    readScriptedAnswers(answers, state.answers);
  }
  const EnvironmentSetting unattended = readEnvironmentSetting("ORVO_GL_UNATTENDED", "DEMO_UNATTENDED");
  // The variable does what the option does, scripted answers set up beside it ending included.
  if (unattended.value != nullptr && switchedOn(unattended)) {
    state.unattended = true;
    state.enabled = false;
    state.answers.clear();
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

Uint32 sdlIconFlag(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Exclamation:
      return SDL_MESSAGEBOX_WARNING;
    case BoxIcon::Stop:
      return SDL_MESSAGEBOX_ERROR;
    case BoxIcon::Information:
      return SDL_MESSAGEBOX_INFORMATION;
  }
  return 0;
}

// Every line of the box begins with the program's name, so a reader of stderr knows whose it is.
void printBox(const std::string& text, const std::string& caption, BoxIcon icon, const char* how) {
  std::stringstream lines(text);
  std::string line;
  bool first = true;
  while (std::getline(lines, line) || first) {
    if (first) {
      std::fprintf(stderr, "%s: [%s box, %s] %s: %s\n", programName(), iconName(icon), how, caption.c_str(), line.c_str());
      first = false;
    } else {
      std::fprintf(stderr, "%s:   %s\n", programName(), line.c_str());
    }
  }
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

// The button a box takes when Return is pressed on it.
BoxAnswer defaultAnswer(BoxButtons buttons) { return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::Yes; }

// The button a box takes when Escape is pressed on it or it is closed.
BoxAnswer escapeAnswer(BoxButtons buttons) { return buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::No; }

// Nobody will read a box that is not shown, so its text goes where a later reader looks.
BoxAnswer answerUnattended(const std::string& text, const std::string& caption, BoxButtons buttons, BoxIcon icon) {
  const BoxAnswer answer = defaultAnswer(buttons);
  printBox(text, caption, icon, "unattended");
  DebugLog::append(kLogFileName, "Box (answered %s) %s: %s\r\n", answerName(answer), caption.c_str(), text.c_str());
  return answer;
}

bool showSdlBox(const std::string& text, const std::string& caption, BoxButtons buttons, BoxIcon icon,
                BoxAnswer& answer) {
  const SDL_MessageBoxButtonData okButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "OK"}};
  const SDL_MessageBoxButtonData yesNoButtons[] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 2, "No"}};
  SDL_MessageBoxData data = {};
  data.flags = sdlIconFlag(icon);
  data.title = caption.c_str();
  data.message = text.c_str();
  data.numbuttons = buttons == BoxButtons::Ok ? 1 : 2;
  data.buttons = buttons == BoxButtons::Ok ? okButtons : yesNoButtons;
  int pressed = -1;
  // A stop signal closes the box while it waits; it then takes its Escape button, the answer
  // that ends the program soonest.
  beginBoxWait();
  const int shown = SDL_ShowMessageBox(&data, &pressed);
  endBoxWait();
  if (stopSignal() != 0) {
    answer = escapeAnswer(buttons);
    return true;
  }
  if (shown != 0) {
    return false;
  }
  answer = pressed == 1 ? BoxAnswer::Yes : pressed == 2 ? BoxAnswer::No : BoxAnswer::Ok;
  if (buttons == BoxButtons::YesNo && pressed != 1 && pressed != 2) {
    answer = BoxAnswer::No;
  }
  return true;
}

}  // namespace

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
  } else if (!showSdlBox(text, caption, buttons, icon, answer)) {
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
