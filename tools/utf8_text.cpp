#include "tools/utf8_text.h"

namespace baker {

namespace {

constexpr char32_t kLastCodePoint = 0x10FFFF;

bool isSurrogate(char32_t codePoint) { return codePoint >= 0xD800 && codePoint <= 0xDFFF; }

// How many bytes the sequence led by `lead` has, and the payload bits the lead carries; 0 for a
// byte that cannot lead a sequence (a continuation byte, or 0xF8 and above).
int sequenceLength(unsigned char lead, char32_t* bits) {
  if (lead < 0x80) {
    *bits = lead;
    return 1;
  }
  if ((lead & 0xE0) == 0xC0) {
    *bits = lead & 0x1Fu;
    return 2;
  }
  if ((lead & 0xF0) == 0xE0) {
    *bits = lead & 0x0Fu;
    return 3;
  }
  if ((lead & 0xF8) == 0xF0) {
    *bits = lead & 0x07u;
    return 4;
  }
  return 0;
}

// The smallest code point that needs `length` bytes: anything below it is an overlong form.
char32_t smallestOfLength(int length) {
  static const char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  return kSmallest[length];
}

// The code point whose sequence starts at `at`, and that sequence's length in bytes; 0 for a
// malformed sequence.
int decodeSequence(const std::string& bytes, size_t at, char32_t* codePoint) {
  const int length = sequenceLength(static_cast<unsigned char>(bytes[at]), codePoint);
  if (length == 0 || bytes.size() - at < static_cast<size_t>(length)) {
    return 0;
  }
  for (int i = 1; i < length; ++i) {
    const unsigned char next = static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    if ((next & 0xC0) != 0x80) {
      return 0;
    }
    *codePoint = (*codePoint << 6) | (next & 0x3Fu);
  }
  if (*codePoint < smallestOfLength(length) || *codePoint > kLastCodePoint || isSurrogate(*codePoint)) {
    return 0;
  }
  return length;
}

}  // namespace

bool decodeUtf8(const std::string& bytes, std::u32string* codePoints) {
  codePoints->clear();
  for (size_t at = 0; at < bytes.size();) {
    char32_t codePoint = 0;
    const int length = decodeSequence(bytes, at, &codePoint);
    if (length == 0) {
      codePoints->clear();
      return false;
    }
    codePoints->push_back(codePoint);
    at += static_cast<size_t>(length);
  }
  return true;
}

std::string encodeUtf8(char32_t codePoint) {
  std::string bytes;
  if (codePoint > kLastCodePoint || isSurrogate(codePoint)) {
    return bytes;
  }
  if (codePoint < 0x80) {
    bytes += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    bytes += static_cast<char>(0xC0 | (codePoint >> 6));
    bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    bytes += static_cast<char>(0xE0 | (codePoint >> 12));
    bytes += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    bytes += static_cast<char>(0xF0 | (codePoint >> 18));
    bytes += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    bytes += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    bytes += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
  return bytes;
}

}  // namespace baker
