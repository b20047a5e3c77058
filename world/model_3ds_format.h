// The 3DS chunk file format: chunk ids and the sizes of the records the reader takes from them.
// Every chunk is a 6-byte little-endian header (id, length including the header) followed by
// its own data and then its sub-chunks.
#pragma once

#include <cstdint>

namespace model3ds {

constexpr uint32_t kChunkHeaderBytes = 6;

// Chunk ids the reader recognises; every other id is skipped wherever it occurs.
constexpr uint16_t kPrimary = 0x4D4D;
constexpr uint16_t kVersion = 0x0002;
constexpr uint16_t kObjectInfo = 0x3D3D;
constexpr uint16_t kNamedObject = 0x4000;
constexpr uint16_t kTriangleMesh = 0x4100;
constexpr uint16_t kVertexList = 0x4110;
constexpr uint16_t kFaceList = 0x4120;
constexpr uint16_t kFaceMaterialList = 0x4130;
constexpr uint16_t kTexCoordList = 0x4140;
constexpr uint16_t kMaterialBlock = 0xAFFF;
constexpr uint16_t kMaterialName = 0xA000;
constexpr uint16_t kDiffuseColour = 0xA020;
constexpr uint16_t kTextureMap = 0xA200;
constexpr uint16_t kTextureFileName = 0xA300;

// Ids the reader never examines but the files we write in tests and benchmarks carry.
constexpr uint16_t kMeshVersion = 0x3D3E;
constexpr uint16_t kColour24 = 0x0011;
constexpr uint16_t kLinearColour24 = 0x0012;
constexpr uint16_t kSmoothingGroups = 0x4150;
constexpr uint16_t kSpecularMap = 0xA204;
constexpr uint16_t kBumpMap = 0xA230;

// Vertex list: u16 count, then count records of x, y, z floats.
constexpr uint32_t kVertexRecordBytes = 12;
// Face list: u16 count, then count records of three u16 corner indices and u16 edge flags.
constexpr uint32_t kFaceRecordBytes = 8;
// Texture-coordinate list: u16 count, then count records of u, v floats.
constexpr uint32_t kTexCoordRecordBytes = 8;
// The colour sub-chunk's first three bytes are red, green, blue.
constexpr uint32_t kColourBytes = 3;
// The version chunk holds one u32.
constexpr uint32_t kVersionBytes = 4;
// Versions above this one may hold data the reader does not understand.
constexpr uint32_t kNewestKnownVersion = 3;

// Names and file names live in 255-byte fields: 254 bytes and the terminator.
constexpr uint32_t kMaxNameBytes = 254;

}  // namespace model3ds
