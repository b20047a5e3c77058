#include "app/scripted_keys.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "core/input_state.h"

uint32_t virtualKeyNamed(const std::string& name) {
  if (name.size() == 1 && ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9'))) {
    return static_cast<uint32_t>(name[0]);
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

bool parseScriptedKeys(const std::string& text, std::vector<ScriptedKey>& keys, std::string& problem) {
  std::vector<ScriptedKey> parsed;
  std::stringstream entries(text);
  std::string entry;
  while (std::getline(entries, entry, ',')) {
    const size_t colon = entry.find(':');
    if (colon == std::string::npos || colon == 0) {
      problem = entry;
      return false;
    }
    errno = 0;
    char* end = nullptr;
    const long frame = std::strtol(entry.c_str(), &end, 10);
    const uint32_t key = virtualKeyNamed(entry.substr(colon + 1));
    if (errno != 0 || end != entry.c_str() + colon || frame < 0 || key == 0) {
      problem = entry;
      return false;
    }
    parsed.push_back(ScriptedKey{frame, key});
  }
  std::stable_sort(parsed.begin(), parsed.end(),
                   [](const ScriptedKey& a, const ScriptedKey& b) { return a.frame < b.frame; });
  keys = std::move(parsed);
  return true;
}
