#include "world/chunk_stream.h"

#include <cstring>

#include "world/model_3ds_format.h"

ChunkStream::ChunkStream(const uint8_t* data, size_t sizeBytes) : bytes_(data, sizeBytes) {}

// The first damage is the one reported; the byte reader has already failed by the time a short
// read is noted here, so the reader's own flag cannot tell whether this is the first.
void ChunkStream::markDamaged(size_t position) {
  if (!damageNoted_) {
    damageNoted_ = true;
    damagePosition_ = position;
  }
}

const uint8_t* ChunkStream::take(size_t count) {
  const size_t position = bytes_.position();
  const uint8_t* start = bytes_.take(count);
  if (start == nullptr) {
    markDamaged(position);
  }
  return start;
}

bool ChunkStream::readFirstHeader(ChunkCursor& chunk) {
  const uint8_t* start = take(model3ds::kChunkHeaderBytes);
  if (start == nullptr) {
    return false;
  }
  ByteReader header(start, model3ds::kChunkHeaderBytes);
  chunk.id = header.u16le();
  chunk.length = header.u32le();
  chunk.consumed = model3ds::kChunkHeaderBytes;
  return true;
}

bool ChunkStream::nextChunk(ChunkCursor& parent, ChunkCursor& child) {
  if (failed() || parent.remaining() == 0) {
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
    markDamaged(bytes_.position() - model3ds::kChunkHeaderBytes);
    badHeaderSeen_ = true;
    parent.consumed += model3ds::kChunkHeaderBytes;
    skipRest(parent);
    return false;
  }
  return true;
}

uint16_t ChunkStream::readU16(ChunkCursor& chunk) {
  const uint8_t* bytes = chunk.remaining() < 2 ? nullptr : take(2);
  if (bytes == nullptr) {
    return 0;
  }
  chunk.consumed += 2;
  return ByteReader(bytes, 2).u16le();
}

float ChunkStream::readFloat(ChunkCursor& chunk) {
  const uint8_t* bytes = chunk.remaining() < 4 ? nullptr : take(4);
  if (bytes == nullptr) {
    return 0.0f;
  }
  chunk.consumed += 4;
  const uint32_t bits = ByteReader(bytes, 4).u32le();
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof(value));
  return value;
}

uint32_t ChunkStream::readBytes(ChunkCursor& chunk, void* destination, uint32_t count) {
  const uint32_t available = count < chunk.remaining() ? count : chunk.remaining();
  const uint8_t* bytes = take(available);
  if (bytes == nullptr) {
    return 0;
  }
  std::memcpy(destination, bytes, available);
  chunk.consumed += available;
  return available;
}

std::string ChunkStream::readString(ChunkCursor& chunk, uint32_t maxKeptBytes) {
  std::string text;
  while (chunk.remaining() > 0) {
    const uint8_t* byte = take(1);
    if (byte == nullptr) {
      break;
    }
    chunk.consumed += 1;
    if (*byte == 0) {
      break;
    }
    if (text.size() < maxKeptBytes) {
      text.push_back(static_cast<char>(*byte));
    }
  }
  return text;
}

std::string ChunkStream::readRestAsText(ChunkCursor& chunk, uint32_t maxKeptBytes) {
  const uint32_t count = chunk.remaining();
  chunk.consumed = chunk.length;
  const char* text = reinterpret_cast<const char*>(take(count));
  if (text == nullptr) {
    return std::string();
  }
  size_t length = 0;
  while (length < count && length < maxKeptBytes && text[length] != '\0') {
    ++length;
  }
  return std::string(text, length);
}

uint32_t ChunkStream::available(const ChunkCursor& chunk) const {
  const size_t left = bytes_.remaining();
  return left < chunk.remaining() ? static_cast<uint32_t>(left) : chunk.remaining();
}

void ChunkStream::skipRest(ChunkCursor& chunk) {
  const uint32_t count = chunk.remaining();
  chunk.consumed = chunk.length;
  take(count);
}
