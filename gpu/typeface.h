// What the two fonts share: the characters they cover and how a typeface is opened by name.
#pragma once

#include "platform/font_source.h"

// The characters both fonts cover: the codes 32 (space) to 127.
constexpr int kFontFirstCharacter = 32;
constexpr int kFontCharacterCount = 96;

// Opens the bold face of `face`, or a bold sans in its place (logged once per call). False, with a
// log line, when there is no usable typeface; the caller's lists then stay empty.
bool openTypeface(const char* face, platform::FontSource& source);
