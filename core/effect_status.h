// Which drawing effects the GL driver let the presentation switch on, and why any is off. The
// effects report themselves while they load; start-up tells the user.
#pragma once

#include <string>

enum class Effect { VolumeLines, PerPixelLighting, RenderTargets };
constexpr int kEffectCount = 3;

const char* effectName(Effect effect);  // "volume lines", as the user reads it
// Marks the effect off; the first reason given is the one kept.
void reportEffectOff(Effect effect, const std::string& why);
bool effectOn(Effect effect);
const std::string& effectOffReason(Effect effect);  // empty while the effect is on
