#include "platform/gl_capabilities.h"

#include <cctype>

namespace platform {

namespace {

GLCapabilities gCapabilities;

}  // namespace

bool firstVersionIn(const std::string& text, int& major, int& minor) {
  for (size_t at = 0; at < text.size(); ++at) {
    if (!std::isdigit(static_cast<unsigned char>(text[at]))) {
      continue;
    }
    size_t end = at;
    int whole = 0;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])) && whole < 1000) {
      whole = whole * 10 + (text[end] - '0');
      ++end;
    }
    if (end + 1 >= text.size() || text[end] != '.' || !std::isdigit(static_cast<unsigned char>(text[end + 1]))) {
      at = end;
      continue;
    }
    major = whole;
    minor = 0;
    for (++end; end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])) && minor < 1000; ++end) {
      minor = minor * 10 + (text[end] - '0');
    }
    return true;
  }
  return false;
}

const char* contextKindName(GLContextKind kind) {
  switch (kind) {
    case GLContextKind::Core:
      return "core";
    case GLContextKind::ES:
      return "es";
    case GLContextKind::Compatibility:
      break;
  }
  return "compat";
}

bool parseContextKind(const std::string& text, GLContextKind& kind) {
  for (const GLContextKind candidate : {GLContextKind::Compatibility, GLContextKind::Core, GLContextKind::ES}) {
    if (text == contextKindName(candidate)) {
      kind = candidate;
      return true;
    }
  }
  return false;
}

const GLCapabilities& contextCapabilities() { return gCapabilities; }

void setGLCapabilities(const GLCapabilities& capabilities) { gCapabilities = capabilities; }

}  // namespace platform
