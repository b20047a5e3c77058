#include "image/byte_reader.h"

#include <cstring>

uint8_t ByteReader::u8() {
  if (remaining() < 1) {
    failed_ = true;
    position_ = size_;
    return 0;
  }
  return data_[position_++];
}

uint16_t ByteReader::u16le() {
  uint8_t bytes[2] = {0, 0};
  read(bytes, sizeof(bytes));
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t ByteReader::u32le() {
  uint8_t bytes[4] = {0, 0, 0, 0};
  read(bytes, sizeof(bytes));
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

uint32_t ByteReader::u32be() {
  uint8_t bytes[4] = {0, 0, 0, 0};
  read(bytes, sizeof(bytes));
  return (static_cast<uint32_t>(bytes[0]) << 24) | (static_cast<uint32_t>(bytes[1]) << 16) |
         (static_cast<uint32_t>(bytes[2]) << 8) | static_cast<uint32_t>(bytes[3]);
}

bool ByteReader::read(uint8_t* out, size_t count) {
  const uint8_t* source = take(count);
  if (source == nullptr) {
    std::memset(out, 0, count);
    return false;
  }
  std::memcpy(out, source, count);
  return true;
}

const uint8_t* ByteReader::take(size_t count) {
  if (count > remaining()) {
    failed_ = true;
    position_ = size_;
    return nullptr;
  }
  const uint8_t* start = data_ + position_;
  position_ += count;
  return start;
}

bool ByteReader::skip(size_t count) { return take(count) != nullptr || count == 0; }

bool ByteReader::seek(size_t offset) {
  if (offset > size_) {
    failed_ = true;
    position_ = size_;
    return false;
  }
  position_ = offset;
  return true;
}
