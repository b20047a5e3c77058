// What the window records of keys, mouse and activity, read by the frame and the scenes.
#pragma once

#include <cstdint>

// Keys are indexed by Windows virtual-key codes. Digits follow kKey0 and letters follow kKeyA in
// order, as their upper-case ASCII; function keys follow kKeyF1.
enum VirtualKey : int {
  kKeyBackspace = 8,
  kKeyTab = 9,
  kKeyReturn = 13,
  kKeyShift = 16,
  kKeyControl = 17,
  kKeyAlt = 18,
  kKeyEscape = 27,
  kKeySpace = 32,
  kKeyPageUp = 33,
  kKeyPageDown = 34,
  kKeyEnd = 35,
  kKeyHome = 36,
  kKeyLeft = 37,
  kKeyUp = 38,
  kKeyRight = 39,
  kKeyDown = 40,
  kKey0 = 48,
  kKeyA = 65,
  kKeyF1 = 112,
  kKeyF11 = 122,
};

// The code of a letter key, whichever case the letter is written in.
constexpr int letterKey(char letter) {
  return letter >= 'a' && letter <= 'z' ? kKeyA + (letter - 'a') : kKeyA + (letter - 'A');
}

constexpr int digitKey(char digit) { return kKey0 + (digit - '0'); }

struct InputState {
  uint8_t keyState[256] = {};  // 1 while the key is held
  int32_t mouseX = 0;          // client pixels
  int32_t mouseY = 0;
  uint8_t leftButton = 0;
  uint8_t rightButton = 0;
  uint8_t appActive = 0;  // frames run only while the window is not minimised

  void clearKeys();
};

InputState& inputState();
