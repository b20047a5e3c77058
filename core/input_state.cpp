#include "core/input_state.h"

#include <cstring>

void InputState::clearKeys() { std::memset(keyState, 0, sizeof(keyState)); }

InputState& inputState() {
  static InputState state;
  return state;
}
