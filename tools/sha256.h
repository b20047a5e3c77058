// SHA-256 digests (FIPS 180-4), for fingerprinting decoded pictures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class Sha256 {
 public:
  Sha256();
  void update(const uint8_t* data, size_t sizeBytes);
  // Ends the message; the digest as 64 lower-case hex digits. Call once.
  std::string hexDigest();

 private:
  void compressBlock(const uint8_t block[64]);

  uint32_t state_[8];
  uint8_t block_[64];
  size_t blockBytes_ = 0;
  uint64_t totalBytes_ = 0;
};
