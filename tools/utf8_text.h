// UTF-8 text as Unicode code points and back: the baker's text lines arrive as UTF-8 arguments
// and are outlined one character (code point) at a time.
#pragma once

#include <string>

namespace baker {

// The code points of `bytes`. False, with `codePoints` empty, for bytes that are not well-formed
// UTF-8: a stray continuation byte, a cut sequence, an overlong form, a surrogate half or a value
// past U+10FFFF.
bool decodeUtf8(const std::string& bytes, std::u32string* codePoints);

// The UTF-8 bytes of one code point; nothing for a value that has none (a surrogate half, past
// U+10FFFF).
std::string encodeUtf8(char32_t codePoint);

}  // namespace baker
