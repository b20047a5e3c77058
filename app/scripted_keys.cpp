#include "app/scripted_keys.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <sstream>

#include "core/input_state.h"

EnvironmentSetting scriptedKeysSetting() { return readEnvironmentSetting("ORVO_GL_KEYS", "DEMO_KEYS"); }

uint32_t virtualKeyNamed(const std::string& name) {
  // A letter names its key in either case.
  if (name.size() == 1 && ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'))) {
    return static_cast<uint32_t>(letterKey(name[0]));
  }
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
    return static_cast<uint32_t>(digitKey(name[0]));
  }
  const struct {
    const char* name;
    uint32_t key;
  } named[] = {{"F1", kKeyF1},         {"F11", kKeyF11},     {"Left", kKeyLeft},       {"Right", kKeyRight},
               {"Home", kKeyHome},     {"Escape", kKeyEscape}, {"Space", kKeySpace}, {"PageUp", kKeyPageUp},
               {"PageDown", kKeyPageDown}};
  for (const auto& entry : named) {
    if (name == entry.name) {
      return entry.key;
    }
  }
  return 0;
}

namespace {

// A whole number of frames, 0 or more, that fills the whole text.
bool parseFrames(const std::string& text, long& frames) {
  if (text.empty() || text[0] < '0' || text[0] > '9') {
    return false;
  }
  errno = 0;
  char* end = nullptr;
  frames = std::strtol(text.c_str(), &end, 10);
  return errno == 0 && *end == '\0';
}

// FRAME:KEY or FRAME:KEY:FRAMES, with FRAMES at least 1 and the key's release still a frame number.
bool parseEntry(const std::string& entry, ScriptedKey& key) {
  const size_t frameEnd = entry.find(':');
  if (frameEnd == std::string::npos) {
    return false;
  }
  const size_t keyEnd = entry.find(':', frameEnd + 1);
  key.virtualKey = virtualKeyNamed(entry.substr(frameEnd + 1, keyEnd - frameEnd - 1));
  key.heldFrames = 0;
  if (!parseFrames(entry.substr(0, frameEnd), key.frame) || key.virtualKey == 0) {
    return false;
  }
  if (keyEnd == std::string::npos) {
    return true;
  }
  return parseFrames(entry.substr(keyEnd + 1), key.heldFrames) && key.heldFrames > 0 &&
         key.heldFrames <= std::numeric_limits<long>::max() - key.frame;
}

}  // namespace

bool parseScriptedKeys(const std::string& text, std::vector<ScriptedKey>& keys, std::string& problem) {
  std::vector<ScriptedKey> parsed;
  std::stringstream entries(text);
  std::string entry;
  while (std::getline(entries, entry, ',')) {
    // A stray comma anywhere (",10:P", "10:P,", "10:P,,20:P") leaves an empty entry that says nothing.
    if (entry.empty()) {
      continue;
    }
    ScriptedKey key;
    if (!parseEntry(entry, key)) {
      problem = entry;
      return false;
    }
    parsed.push_back(key);
  }
  keys = std::move(parsed);
  return true;
}

void ScriptedKeyPlayer::load(const std::vector<ScriptedKey>& keys) {
  schedule_.clear();
  next_ = 0;
  for (const ScriptedKey& key : keys) {
    schedule_.push_back(Scheduled{key.frame, false, KeyChange{key.virtualKey, true}});
    schedule_.push_back(Scheduled{key.frame + key.heldFrames, key.heldFrames > 0, KeyChange{key.virtualKey, false}});
  }
  // Written order stands among the changes of one frame, so a press stays down-then-up.
  std::stable_sort(schedule_.begin(), schedule_.end(), [](const Scheduled& a, const Scheduled& b) {
    return a.frame != b.frame ? a.frame < b.frame : a.endsHold && !b.endsHold;
  });
}

bool ScriptedKeyPlayer::nextChange(long frame, KeyChange& change) {
  if (next_ >= schedule_.size() || schedule_[next_].frame > frame) {
    return false;
  }
  change = schedule_[next_++].change;
  return true;
}
