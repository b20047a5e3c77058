#include <gtest/gtest.h>

#include <string>

#include "tools/sha256.h"

namespace {

std::string digestOf(const std::string& text, size_t pieceBytes) {
  Sha256 digest;
  for (size_t at = 0; at < text.size(); at += pieceBytes) {
    const std::string piece = text.substr(at, pieceBytes);
    digest.update(reinterpret_cast<const uint8_t*>(piece.data()), piece.size());
  }
  return digest.hexDigest();
}

TEST(Sha256, matchesTheStandardTestVectorsWhateverThePieces) {
  EXPECT_EQ(digestOf("", 1), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(digestOf("abc", 1), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
  const std::string twoBlocks = "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq";
  for (const size_t piece : {size_t{1}, size_t{7}, size_t{64}, size_t{1000}}) {
    EXPECT_EQ(digestOf(twoBlocks, piece), "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1") << piece;
  }
  EXPECT_EQ(digestOf(std::string(1000000, 'a'), 4096),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

}  // namespace
