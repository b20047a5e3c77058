#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <sstream>

namespace platform {
namespace {

struct ScriptState {
  bool enabled = false;
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
  const char* text = std::getenv("DEMO_BOX_ANSWERS");
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

void printBox(const std::string& text, const std::string& caption, BoxIcon icon, const char* how) {
  std::fprintf(stderr, "[%s box, %s] %s: %s\n", iconName(icon), how, caption.c_str(), text.c_str());
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
  if (SDL_ShowMessageBox(&data, &pressed) != 0) {
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
  BoxAnswer answer = buttons == BoxButtons::Ok ? BoxAnswer::Ok : BoxAnswer::No;
  if (state.enabled) {
    answer = scriptedAnswer(buttons);
    printBox(text, caption, icon, "scripted");
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

const std::vector<RecordedBox>& recordedBoxes() { return script().recorded; }

void clearRecordedBoxes() { script().recorded.clear(); }

}  // namespace platform
