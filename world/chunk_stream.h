// A bounded reader over a 3DS file held in memory: every read is limited by the chunk it is
// made for, and goes through the guarded byte reader, so running off the end of the buffer
// returns zeros and marks the stream failed.
// Chunk lengths are checked against their parent when the header is read, so a chunk never
// reaches beyond the chunk that holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/byte_reader.h"

// The bookkeeping for one open chunk: how long its header says it is, and how much of it has
// been read so far (6 as soon as the header has been read).
struct ChunkCursor {
  uint16_t id = 0;
  uint32_t length = 0;
  uint32_t consumed = 0;

  uint32_t remaining() const { return consumed < length ? length - consumed : 0; }
};

class ChunkStream {
 public:
  ChunkStream(const uint8_t* data, size_t sizeBytes);

  // Reads the header of the file's first chunk; false when the buffer is too short.
  bool readFirstHeader(ChunkCursor& chunk);

  // Reads the next sub-chunk header of parent into child. False when parent is used up, the
  // stream has failed, or the header is unusable (length below 6 or beyond what parent has
  // left); an unusable header ends parent: its remaining bytes are skipped.
  bool nextChunk(ChunkCursor& parent, ChunkCursor& child);

  // Reads within chunk: a value that chunk does not hold in full reads as 0 and consumes nothing.
  uint16_t readU16(ChunkCursor& chunk);
  float readFloat(ChunkCursor& chunk);
  // Reads min(count, chunk.remaining()) bytes into destination; returns how many were read.
  uint32_t readBytes(ChunkCursor& chunk, void* destination, uint32_t count);
  // Reads a zero-terminated string up to and including its terminator, or to the chunk's end;
  // keeps its first maxKeptBytes bytes.
  std::string readString(ChunkCursor& chunk, uint32_t maxKeptBytes);
  // Reads the rest of chunk as one zero-terminated text; keeps what comes before the first zero,
  // at most maxKeptBytes bytes.
  std::string readRestAsText(ChunkCursor& chunk, uint32_t maxKeptBytes);
  void skipRest(ChunkCursor& chunk);
  // How much of chunk's remainder the buffer really holds: less than remaining() when the file
  // ends inside the chunk.
  uint32_t available(const ChunkCursor& chunk) const;

  // The buffer ended before a chunk said it would.
  bool failed() const { return bytes_.failed(); }
  // The buffer ended early or a chunk header was unusable, so part of the file was not read.
  bool damaged() const { return failed() || badHeaderSeen_; }
  // Where reading stopped or the first unusable header was found, in bytes from the start.
  size_t damagePosition() const { return damagePosition_; }

 private:
  // The next count bytes, or null (and the damage noted) when the buffer ends before them.
  const uint8_t* take(size_t count);
  void markDamaged(size_t position);

  ByteReader bytes_;
  bool badHeaderSeen_ = false;
  bool damageNoted_ = false;
  size_t damagePosition_ = 0;
};
