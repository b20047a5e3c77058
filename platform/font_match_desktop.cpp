// Finding a typeface on the desktop: fontconfig picks the installed file.
#include "platform/font_source.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

namespace platform {

namespace {

const char* kFallbackFamily = "sans-serif";

bool hasFamily(FcPattern* font, const char* family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (strcasecmp(reinterpret_cast<const char*>(name), family) == 0) {
      return true;
    }
  }
  return false;
}

std::string stringOf(FcPattern* font, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(font, object, 0, &value) != FcResultMatch) {
    return "";
  }
  return reinterpret_cast<const char*>(value);
}

// The best scalable bold face fontconfig offers for the family; the caller destroys it.
FcPattern* matchBold(const char* family) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
  FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_BOLD);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* font = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  return font;
}

}  // namespace

bool findFont(const char* family, FontMatch& match) {
  FcPattern* font = matchBold(family);
  const bool requested = font != nullptr && hasFamily(font, family);
  if (!requested) {
    if (font != nullptr) {
      FcPatternDestroy(font);
    }
    font = matchBold(kFallbackFamily);
  }
  if (font == nullptr) {
    return false;
  }
  match.path = stringOf(font, FC_FILE);
  int index = 0;
  FcPatternGetInteger(font, FC_INDEX, 0, &index);
  match.faceIndex = index;
  match.family = stringOf(font, FC_FAMILY);
  match.style = stringOf(font, FC_STYLE);
  match.requestedFamily = requested;
  FcPatternDestroy(font);
  return !match.path.empty();
}

}  // namespace platform
