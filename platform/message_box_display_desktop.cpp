// Boxes on the desktop: SDL's message box, which a stop signal closes.
#include "platform/message_box_display.h"

#include <SDL.h>

#include "platform/stop_signals.h"

namespace platform {

namespace {

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

}  // namespace

bool showBoxOnDisplay(const std::string& text, const std::string& caption, BoxButtons buttons, BoxIcon icon,
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

}  // namespace platform
