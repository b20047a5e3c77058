#include "gpu/typeface.h"

#include "core/debug_log.h"

bool openTypeface(const char* face, platform::FontSource& source) {
  platform::FontMatch match;
  if (!platform::findFont(face, match)) {
    DebugLog::append(kLogFileName, "Font: no typeface for %s, its characters stay empty\r\n", face);
    return false;
  }
  if (!match.requestedFamily) {
    DebugLog::append(kLogFileName, "Font: %s is not installed, using %s %s\r\n", face, match.family.c_str(),
                     match.style.c_str());
  }
  if (!source.open(match)) {
    DebugLog::append(kLogFileName, "Font: cannot read %s, its characters stay empty\r\n", match.path.c_str());
    return false;
  }
  return true;
}
