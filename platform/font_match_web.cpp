// Finding a typeface on the web: the page bundles one face, DejaVu Sans Bold (the bold sans-serif
// a Debian desktop falls back to), at a fixed place in the site folder.
#include "platform/font_source.h"

#include <strings.h>

namespace platform {

namespace {

const char* const kBundledFamily = "DejaVu Sans";
const char* const kBundledFile = "fonts/DejaVuSans-Bold.ttf";

}  // namespace

bool findFont(const char* family, FontMatch& match) {
  match.path = kBundledFile;
  match.faceIndex = 0;
  match.family = kBundledFamily;
  match.style = "Bold";
  match.requestedFamily = strcasecmp(family, kBundledFamily) == 0;
  return true;
}

}  // namespace platform
