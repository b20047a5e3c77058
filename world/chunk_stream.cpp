#include "world/chunk_stream.h"

#include <cstring>

#include "world/model_3ds_format.h"

namespace {

uint16_t littleEndian16(const uint8_t* bytes) {
  return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t littleEndian32(const uint8_t* bytes) {
  return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
         (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

}  // namespace

ChunkStream::ChunkStream(const uint8_t* data, size_t sizeBytes) : data_(data), sizeBytes_(sizeBytes) {}

void ChunkStream::markDamaged(size_t position) {
  if (!damaged()) {
    damagePosition_ = position;
  }
}

void ChunkStream::stopAtEnd() {
  markDamaged(position_);
  failed_ = true;
  position_ = sizeBytes_;
}

bool ChunkStream::take(void* destination, size_t count) {
  if (failed_ || count > sizeBytes_ - position_) {
    stopAtEnd();
    std::memset(destination, 0, count);
    return false;
  }
  std::memcpy(destination, data_ + position_, count);
  position_ += count;
  return true;
}

bool ChunkStream::readFirstHeader(ChunkCursor& chunk) {
  uint8_t header[model3ds::kChunkHeaderBytes];
  if (!take(header, sizeof(header))) {
    return false;
  }
  chunk.id = littleEndian16(header);
  chunk.length = littleEndian32(header + 2);
  chunk.consumed = model3ds::kChunkHeaderBytes;
  return true;
}

bool ChunkStream::nextChunk(ChunkCursor& parent, ChunkCursor& child) {
  if (failed_ || parent.remaining() == 0) {
    return false;
  }
  if (parent.remaining() < model3ds::kChunkHeaderBytes) {
    skipRest(parent);
    return false;
  }
  if (!readFirstHeader(child)) {
    return false;
  }
  if (child.length < model3ds::kChunkHeaderBytes || child.length > parent.remaining()) {
    markDamaged(position_ - model3ds::kChunkHeaderBytes);
    badHeaderSeen_ = true;
    parent.consumed += model3ds::kChunkHeaderBytes;
    skipRest(parent);
    return false;
  }
  return true;
}

uint16_t ChunkStream::readU16(ChunkCursor& chunk) {
  uint8_t bytes[2] = {0, 0};
  if (chunk.remaining() < sizeof(bytes) || !take(bytes, sizeof(bytes))) {
    return 0;
  }
  chunk.consumed += sizeof(bytes);
  return littleEndian16(bytes);
}

float ChunkStream::readFloat(ChunkCursor& chunk) {
  uint8_t bytes[4] = {0, 0, 0, 0};
  if (chunk.remaining() < sizeof(bytes) || !take(bytes, sizeof(bytes))) {
    return 0.0f;
  }
  chunk.consumed += sizeof(bytes);
  const uint32_t bits = littleEndian32(bytes);
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

uint32_t ChunkStream::readBytes(ChunkCursor& chunk, void* destination, uint32_t count) {
  const uint32_t available = count < chunk.remaining() ? count : chunk.remaining();
  if (!take(destination, available)) {
    return 0;
  }
  chunk.consumed += available;
  return available;
}

std::string ChunkStream::readString(ChunkCursor& chunk, uint32_t maxKeptBytes) {
  std::string text;
  while (chunk.remaining() > 0) {
    uint8_t byte = 0;
    if (!take(&byte, 1)) {
      break;
    }
    chunk.consumed += 1;
    if (byte == 0) {
      break;
    }
    if (text.size() < maxKeptBytes) {
      text.push_back(static_cast<char>(byte));
    }
  }
  return text;
}

std::string ChunkStream::readRestAsText(ChunkCursor& chunk, uint32_t maxKeptBytes) {
  const uint32_t count = chunk.remaining();
  if (failed_ || count > sizeBytes_ - position_) {
    skipRest(chunk);
    return std::string();
  }
  const char* text = reinterpret_cast<const char*>(data_ + position_);
  size_t length = 0;
  while (length < count && length < maxKeptBytes && text[length] != '\0') {
    ++length;
  }
  skipRest(chunk);
  return std::string(text, length);
}

void ChunkStream::skipRest(ChunkCursor& chunk) {
  const uint32_t count = chunk.remaining();
  chunk.consumed = chunk.length;
  if (failed_ || count > sizeBytes_ - position_) {
    stopAtEnd();
    return;
  }
  position_ += count;
}
