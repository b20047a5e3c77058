// Chunk ids of the 3DS files the baker writes. Every chunk is a 6-byte header (16-bit id, 32-bit
// length counting header, data and sub-chunks, both little-endian), its data, then its sub-chunks.
#pragma once

#include <cstdint>

namespace baker {

namespace chunk3ds {

constexpr std::uint16_t kPrimary = 0x4D4D;        // the whole file
constexpr std::uint16_t kVersion = 0x0002;        // 32-bit file version
constexpr std::uint16_t kObjectInfo = 0x3D3D;     // materials and objects
constexpr std::uint16_t kMeshVersion = 0x3D3E;    // 32-bit, first in the object-info block
constexpr std::uint16_t kMaterial = 0xAFFF;
constexpr std::uint16_t kMaterialName = 0xA000;   // zero-terminated
constexpr std::uint16_t kDiffuse = 0xA020;        // holds one colour sub-chunk
constexpr std::uint16_t kColour24 = 0x0011;       // red, green, blue bytes
constexpr std::uint16_t kPercentInt = 0x0030;     // 16-bit percentage
constexpr std::uint16_t kTextureMap = 0xA200;     // the first texture map
constexpr std::uint16_t kMapFileName = 0xA300;    // zero-terminated
constexpr std::uint16_t kNamedObject = 0x4000;    // zero-terminated name, then sub-chunks
constexpr std::uint16_t kTriangleMesh = 0x4100;
constexpr std::uint16_t kVertexList = 0x4110;     // 16-bit count, count x (x, y, z) floats
constexpr std::uint16_t kFaceList = 0x4120;       // 16-bit count, count x (a, b, c, flags)
constexpr std::uint16_t kFaceMaterial = 0x4130;   // name, 16-bit count, face indices
constexpr std::uint16_t kTexCoordList = 0x4140;   // 16-bit count, count x (u, v) floats
constexpr std::uint16_t kSmoothingGroups = 0x4150;  // one 32-bit mask per face

constexpr std::uint32_t kWrittenVersion = 3;
constexpr std::uint16_t kFaceEdgesVisible = 0x0007;  // edge flags: all three edges shown
constexpr std::uint32_t kMaxCount = 0xFFFF;          // vertex and face counts are 16-bit

}  // namespace chunk3ds

}  // namespace baker
