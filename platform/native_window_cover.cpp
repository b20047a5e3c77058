#include "platform/native_window_cover.h"

#include <SDL_syswm.h>

#include "core/debug_log.h"

namespace platform {
namespace {

// How long the window system gets to carry out a change before the window's place is judged, and
// how often it is looked at meanwhile.
constexpr Uint32 kSettleMilliseconds = 300;
constexpr Uint32 kSettleStepMilliseconds = 10;

// The window's place on the screen and its size as the X server has them, since SDL's own figures
// follow what it asked for. False where the window system does not say (not X11).
bool realPlace(SDL_Window* window, SDL_Rect& place) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return false;
  }
  Display* display = info.info.x11.display;
  XWindowAttributes attributes = {};
  if (XGetWindowAttributes(display, info.info.x11.window, &attributes) == 0) {
    return false;
  }
  ::Window child = 0;
  if (!XTranslateCoordinates(display, info.info.x11.window, attributes.root, 0, 0, &place.x, &place.y, &child)) {
    return false;
  }
  place.w = attributes.width;
  place.h = attributes.height;
  return true;
#else
  (void)window;
  (void)place;
  return false;
#endif
}

// True once the window lies exactly over the display, or at once where nobody can tell.
bool settlesOver(SDL_Window* window, const SDL_Rect& display, SDL_Rect& place) {
  const Uint32 start = SDL_GetTicks();
  for (;;) {
    if (!realPlace(window, place)) {
      return true;
    }
    if (place.x == display.x && place.y == display.y && place.w == display.w && place.h == display.h) {
      return true;
    }
    if (SDL_GetTicks() - start >= kSettleMilliseconds) {
      return false;
    }
    SDL_Delay(kSettleStepMilliseconds);
  }
}

}  // namespace

bool coverDisplay(SDL_Window* window, DisplayCover& cover, std::string& error) {
  SDL_Rect display = {};
  if (SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(window), &display) != 0) {
    error = SDL_GetError();
    return false;
  }
  SDL_GetWindowPosition(window, &cover.windowed.x, &cover.windowed.y);
  SDL_GetWindowSize(window, &cover.windowed.w, &cover.windowed.h);
  if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
    error = SDL_GetError();
    return false;
  }
  SDL_Rect place = {};
  if (settlesOver(window, display, place)) {
    return true;
  }
  // Nobody carried the request out; SDL's sizes are those it asked for, so they are set anew.
  SDL_SetWindowFullscreen(window, 0);
  SDL_SetWindowBordered(window, SDL_FALSE);
  SDL_SetWindowPosition(window, display.x, display.y);
  SDL_SetWindowSize(window, display.w, display.h);
  cover.byHand = true;
  if (settlesOver(window, display, place)) {
    DebugLog::append(kLogFileName, "Window: full screen was not carried out (no window manager?); a borderless "
                                   "window covers the display instead\r\n");
    return true;
  }
  error = "the window stays " + std::to_string(place.w) + " x " + std::to_string(place.h) + " on a display of " +
          std::to_string(display.w) + " x " + std::to_string(display.h);
  std::string ignored;
  uncoverDisplay(window, cover, ignored);
  return false;
}

bool uncoverDisplay(SDL_Window* window, DisplayCover& cover, std::string& error) {
  if (!cover.byHand) {
    if (SDL_SetWindowFullscreen(window, 0) != 0) {
      error = SDL_GetError();
      return false;
    }
    return true;
  }
  SDL_SetWindowBordered(window, SDL_TRUE);
  SDL_SetWindowSize(window, cover.windowed.w, cover.windowed.h);
  SDL_SetWindowPosition(window, cover.windowed.x, cover.windowed.y);
  cover.byHand = false;
  return true;
}

}  // namespace platform
