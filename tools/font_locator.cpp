// Font look-up through fontconfig. fontconfig always answers with its best match, so the
// family of the answer is checked before it is taken.
#include "tools/font_locator.h"

#include <strings.h>

#include <fontconfig/fontconfig.h>

namespace {

constexpr const char* kPreferredFamily = "Arial Black";
constexpr const char* kFallbackPattern = "DejaVu Sans:bold";
constexpr const char* kFallbackFamily = "DejaVu Sans";

// The file of the best match for `pattern` when its family is `family`, else empty.
std::string matchFontFile(const char* patternText, const char* family) {
  std::string path;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(patternText));
  if (pattern == nullptr) {
    return path;
  }
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  if (match != nullptr) {
    FcChar8* matchedFamily = nullptr;
    FcChar8* file = nullptr;
    if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
        FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        strcasecmp(reinterpret_cast<const char*>(matchedFamily), family) == 0) {
      path = reinterpret_cast<const char*>(file);
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return path;
}

}  // namespace

std::string findTitleFontFile() {
  if (!FcInit()) {
    return std::string();
  }
  std::string path = matchFontFile(kPreferredFamily, kPreferredFamily);
  if (path.empty()) {
    path = matchFontFile(kFallbackPattern, kFallbackFamily);
  }
  return path;
}
