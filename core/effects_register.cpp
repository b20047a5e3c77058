#include "core/effects_register.h"

#include "core/debug_log.h"

namespace {

int slot(Effect effect) { return static_cast<int>(effect); }

}  // namespace

const char* effectName(Effect effect) {
  switch (effect) {
    case Effect::VolumeLines:
      return "volume lines";
    case Effect::PerPixelLighting:
      return "per-pixel lighting";
    case Effect::RenderTargets:
      return "render targets";
    case Effect::LandscapeSurface:
      return "the landscape's surface";
    case Effect::TitleLayers:
      return "the title layers";
    case Effect::BubbleSurface:
      return "the bubbles' surface";
  }
  return "an effect";
}

Effect reportedEffect(Effect effect) {
  return slot(effect) < kReportedEffectCount ? effect : Effect::RenderTargets;
}

void EffectsRegister::beginLoading() { *this = EffectsRegister(); }

void EffectsRegister::endLoading() { loading_ = false; }

void EffectsRegister::switchOn(Effect effect) { loaded_[slot(effect)] = true; }

void EffectsRegister::switchOff(Effect effect, const std::string& why, float atSeconds) {
  if (isOff(effect)) {
    return;
  }
  const std::string reason = why.empty() ? "no reason given" : why;
  keepOff(effect, reason);
  const Effect reported = reportedEffect(effect);
  if (reported != effect) {
    keepOff(reported, reason);
  }
  // While loading, the start-up report tells it; later only this line does.
  if (loading_) {
    return;
  }
  if (reported == effect) {
    DebugLog::append(kLogFileName, "Effects: %s off from %.2f s: %s\r\n", effectName(effect), atSeconds,
                     reason.c_str());
  } else {
    DebugLog::append(kLogFileName, "Effects: %s off from %.2f s for %s: %s\r\n", effectName(reported), atSeconds,
                     effectName(effect), reason.c_str());
  }
}

void EffectsRegister::keepOff(Effect effect, const std::string& why) {
  std::string& reason = offReasons_[slot(effect)];
  if (reason.empty()) {
    reason = why;
  }
}

bool EffectsRegister::isOn(Effect effect) const { return loaded_[slot(effect)] && !isOff(effect); }

bool EffectsRegister::isOff(Effect effect) const { return !offReasons_[slot(effect)].empty(); }

const std::string& EffectsRegister::offReason(Effect effect) const { return offReasons_[slot(effect)]; }

EffectsRegister& effectsRegister() {
  static EffectsRegister effects;
  return effects;
}
