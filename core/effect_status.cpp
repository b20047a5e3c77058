#include "core/effect_status.h"

namespace {

std::string& offReason(Effect effect) {
  static std::string reasons[kEffectCount];
  return reasons[static_cast<int>(effect)];
}

}  // namespace

const char* effectName(Effect effect) {
  switch (effect) {
    case Effect::VolumeLines:
      return "volume lines";
    case Effect::PerPixelLighting:
      return "per-pixel lighting";
    case Effect::RenderTargets:
      return "render targets";
  }
  return "an effect";
}

void reportEffectOff(Effect effect, const std::string& why) {
  std::string& reason = offReason(effect);
  if (reason.empty()) {
    reason = why.empty() ? "no reason given" : why;
  }
}

bool effectOn(Effect effect) { return offReason(effect).empty(); }

const std::string& effectOffReason(Effect effect) { return offReason(effect); }
