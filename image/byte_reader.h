// The one guarded reader every hand-written decoder reads its file through.
// Invariant: it never reads outside [data, data + size); reading past the end yields zero bytes
// and marks the reader failed for good.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t sizeBytes) : data_(data), size_(data == nullptr ? 0 : sizeBytes) {}

  uint8_t u8();
  uint16_t u16le();
  uint32_t u32le();
  uint32_t u32be();
  int16_t s16le() { return static_cast<int16_t>(u16le()); }
  int32_t s32le() { return static_cast<int32_t>(u32le()); }
  // Copies count bytes, or zero-fills out and fails when fewer remain.
  bool read(uint8_t* out, size_t count);
  // A pointer to the next count bytes (advancing past them), or nullptr and failed.
  const uint8_t* take(size_t count);
  bool skip(size_t count);
  // Moves to an absolute offset; an offset past the end fails.
  bool seek(size_t offset);

  size_t position() const { return position_; }
  size_t size() const { return size_; }
  size_t remaining() const { return size_ - position_; }
  bool failed() const { return failed_; }
  const uint8_t* data() const { return data_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t position_ = 0;
  bool failed_ = false;
};
