#include "tools/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

using namespace baker;

namespace {

TEST(Utf8TextTest, decodesEverySequenceLengthAndEncodesItBack) {
  // "A", "ä", "€", "𝄞": one to four bytes.
  const std::string bytes = "A\xc3\xa4\xe2\x82\xac\xf0\x9d\x84\x9e";
  std::u32string characters;
  ASSERT_TRUE(decodeUtf8(bytes, &characters));
  EXPECT_EQ(characters, std::u32string({U'A', 0xE4, 0x20AC, 0x1D11E}));
  std::string again;
  for (const char32_t c : characters) again += encodeUtf8(c);
  EXPECT_EQ(again, bytes);
  ASSERT_TRUE(decodeUtf8("", &characters));
  EXPECT_TRUE(characters.empty());
}

TEST(Utf8TextTest, refusesMalformedBytes) {
  const char* malformed[] = {
      "\xc3",              // cut before its continuation byte
      "A\xe2\x82",         // cut three-byte sequence at the end
      "\x84",              // a continuation byte with no lead
      "\xc3" "A",          // a lead followed by a plain byte
      "\xc0\x80",          // overlong NUL
      "\xe0\x80\xaf",      // overlong '/'
      "\xed\xa0\x80",      // a surrogate half
      "\xf4\x90\x80\x80",  // past U+10FFFF
      "\xf8\x88\x80\x80\x80",
      "\xe4\xf6\xfc",      // "äöü" in Latin-1
  };
  for (const char* bytes : malformed) {
    std::u32string characters = U"left over";
    EXPECT_FALSE(decodeUtf8(bytes, &characters)) << bytes;
    EXPECT_TRUE(characters.empty()) << bytes;
  }
  EXPECT_EQ(encodeUtf8(0xD800), "");
  EXPECT_EQ(encodeUtf8(0x110000), "");
}

}  // namespace
