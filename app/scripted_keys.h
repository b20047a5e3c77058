// Key presses played at chosen frames, for unattended runs and tests: the environment variable
// DEMO_KEYS holds "FRAME:KEY,..." where FRAME counts the frames drawn from 0 and KEY is a key name
// (P, F1, Left, Right, Home, Escape, or one letter or digit). Each press goes through the window
// procedure as a key going down and up, exactly like a real one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ScriptedKey {
  long frame = 0;
  uint32_t virtualKey = 0;
};

// The presses of the text, in frame order; false (and nothing kept) for a text that does not
// read as presses, with the offending entry in `problem`.
bool parseScriptedKeys(const std::string& text, std::vector<ScriptedKey>& keys, std::string& problem);
// The virtual-key code of a key name, or 0 for a name it does not know.
uint32_t virtualKeyNamed(const std::string& name);
