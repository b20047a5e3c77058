// Keys played at chosen frames, for unattended runs and tests: the environment variable
// ORVO_GL_KEYS (or by its older name DEMO_KEYS, when ORVO_GL_KEYS is not set) holds "FRAME:KEY,..."
// where FRAME counts the frames drawn from 0 and KEY is a key name (P, F1, F11, Left, Right, Home,
// Escape, Space, PageUp, PageDown, or one letter in either case or one digit); empty entries,
// wherever a comma leaves one, are skipped. FRAME:KEY presses the key before that frame, down and
// up at once; FRAME:KEY:FRAMES holds it down from that frame for FRAMES frames, for the keys that
// act while held. Each change goes through the window procedure as a key going down or up, exactly
// like a real one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/environment_setting.h"

struct ScriptedKey {
  long frame = 0;
  uint32_t virtualKey = 0;
  long heldFrames = 0;  // 0: down and up before the same frame
};

struct KeyChange {
  uint32_t virtualKey = 0;
  bool down = false;
};

// The script the environment holds, and the variable it came from.
EnvironmentSetting scriptedKeysSetting();

// The entries of the text in the order written; false (and nothing kept) for a text that does not
// read as entries, with the offending entry in `problem`.
bool parseScriptedKeys(const std::string& text, std::vector<ScriptedKey>& keys, std::string& problem);
// The virtual-key code of a key name, or 0 for a name it does not know.
uint32_t virtualKeyNamed(const std::string& name);

// Hands out the key changes of a script frame by frame, in the order they are due: at one frame,
// the keys whose hold ends go up first, then the entries starting there go down in their written
// order, a press coming up again at once.
class ScriptedKeyPlayer {
 public:
  // Replaces the schedule with the keys' changes.
  void load(const std::vector<ScriptedKey>& keys);
  // The next change due at or before the frame, taken off the schedule; false when none is due.
  bool nextChange(long frame, KeyChange& change);

 private:
  struct Scheduled {
    long frame = 0;
    bool endsHold = false;
    KeyChange change;
  };
  std::vector<Scheduled> schedule_;
  size_t next_ = 0;
};
