// The one record of which drawing effects run and why any is off: every effect that loads or gives
// up writes it, and everything that decides whether to draw an effect asks it.
// An effect once off stays off with the first reason given; nothing switches it on again.
#pragma once

#include <string>

// The first three are the effects the start-up report names. Each set of drawing surfaces after
// them goes off on its own, and counts as the render targets when the report is written: one
// scene losing its surfaces leaves the other scene's in use. RenderTargets itself is only switched
// off, through a set; whether a scene draws through its surfaces is asked of its set.
enum class Effect { VolumeLines, PerPixelLighting, RenderTargets, LandscapeSurface, TitleLayers, BubbleSurface };
constexpr int kEffectCount = 6;
constexpr int kReportedEffectCount = 3;

const char* effectName(Effect effect);  // "volume lines", as the user reads it
// The effect the report names for this one: a set of surfaces counts as the render targets.
Effect reportedEffect(Effect effect);

class EffectsRegister {
 public:
  // Every effect is not yet loaded again and nothing has been told: start-up begins with it.
  void beginLoading();
  // The start-up report has told the user what is on; from now on an effect switched off is also
  // told in the log when it happens.
  void endLoading();

  // The effect has loaded and runs; one already off stays off.
  void switchOn(Effect effect);
  // The effect is off from presentation time atSeconds; the first reason given is the one kept. A
  // set of surfaces takes the render targets off with it.
  void switchOff(Effect effect, const std::string& why, float atSeconds = 0.0f);

  bool isOn(Effect effect) const;  // loaded and never switched off
  bool isOff(Effect effect) const;
  const std::string& offReason(Effect effect) const;  // empty unless the effect is off

 private:
  void keepOff(Effect effect, const std::string& why);

  bool loaded_[kEffectCount] = {};
  std::string offReasons_[kEffectCount];
  bool loading_ = true;
};

// The program's register.
EffectsRegister& effectsRegister();
