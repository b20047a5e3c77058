// A window covering its display at the display's own size: the full-screen request, checked
// against where the window really is afterwards. Without a window manager SDL reports the request
// as done while nothing changes on screen; the window is then laid over the display borderless.
#pragma once

#include <SDL.h>

#include <string>

namespace platform {

struct DisplayCover {
  bool byHand = false;     // laid over the display as a borderless window, not by the request
  SDL_Rect windowed = {};  // where the window was, and its size, before it covered the display
};

// False, with the reason, when neither way covers the display; the window is then as it was.
bool coverDisplay(SDL_Window* window, DisplayCover& cover, std::string& error);
// Makes a window that covers its display the window it was before.
bool uncoverDisplay(SDL_Window* window, DisplayCover& cover, std::string& error);

}  // namespace platform
