// Builds 3DS chunk streams byte by byte for the reader's tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

namespace chunks {

using Bytes = std::vector<uint8_t>;

inline Bytes u16(uint16_t value) { return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)}; }

inline Bytes u32(uint32_t value) {
  return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value >> 16),
          static_cast<uint8_t>(value >> 24)};
}

inline Bytes f32(float value) {
  uint32_t bits = 0;
  std::memcpy(&bits, &value, sizeof(bits));
  return u32(bits);
}

// The text and its zero terminator.
inline Bytes text(const std::string& value) {
  Bytes bytes(value.begin(), value.end());
  bytes.push_back(0);
  return bytes;
}

inline Bytes join(std::initializer_list<Bytes> parts) {
  Bytes bytes;
  for (const Bytes& part : parts) {
    bytes.insert(bytes.end(), part.begin(), part.end());
  }
  return bytes;
}

// A chunk whose length is whatever its header claims.
inline Bytes chunkClaiming(uint16_t id, uint32_t claimedLength, std::initializer_list<Bytes> body) {
  return join({u16(id), u32(claimedLength), join(body)});
}

// A chunk with its true length.
inline Bytes chunk(uint16_t id, std::initializer_list<Bytes> body) {
  const Bytes content = join(body);
  return join({u16(id), u32(static_cast<uint32_t>(content.size() + 6)), content});
}

inline Bytes vertexList(std::initializer_list<float> xyz) {
  Bytes bytes = u16(static_cast<uint16_t>(xyz.size() / 3));
  for (const float value : xyz) {
    const Bytes part = f32(value);
    bytes.insert(bytes.end(), part.begin(), part.end());
  }
  return chunk(0x4110, {bytes});
}

// Faces of three corners each; the edge flags are written as 7.
inline Bytes faceRecords(std::initializer_list<uint16_t> corners) {
  Bytes bytes = u16(static_cast<uint16_t>(corners.size() / 3));
  int corner = 0;
  for (const uint16_t index : corners) {
    const Bytes part = u16(index);
    bytes.insert(bytes.end(), part.begin(), part.end());
    if (++corner % 3 == 0) {
      bytes.push_back(7);
      bytes.push_back(0);
    }
  }
  return bytes;
}

inline Bytes faceMaterial(const std::string& name, uint16_t faceCount) {
  Bytes bytes = join({text(name), u16(faceCount)});
  for (uint16_t i = 0; i < faceCount; ++i) {
    const Bytes part = u16(i);
    bytes.insert(bytes.end(), part.begin(), part.end());
  }
  return chunk(0x4130, {bytes});
}

inline Bytes colour24(uint8_t red, uint8_t green, uint8_t blue) { return chunk(0x0011, {{red, green, blue}}); }

inline Bytes version(uint32_t number) { return chunk(0x0002, {u32(number)}); }

inline Bytes meshVersion() { return chunk(0x3D3E, {u32(3)}); }

inline Bytes material(const std::string& name, std::initializer_list<Bytes> rest = {}) {
  return chunk(0xAFFF, {chunk(0xA000, {text(name)}), join(rest)});
}

inline Bytes namedObject(const std::string& name, std::initializer_list<Bytes> meshChunks) {
  return chunk(0x4000, {text(name), chunk(0x4100, meshChunks)});
}

inline Bytes objectInfo(std::initializer_list<Bytes> body) { return chunk(0x3D3D, {meshVersion(), join(body)}); }

inline Bytes primary(std::initializer_list<Bytes> body) { return chunk(0x4D4D, {version(3), join(body)}); }

inline void writeFile(const std::string& path, const Bytes& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace chunks
