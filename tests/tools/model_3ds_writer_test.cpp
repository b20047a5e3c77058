#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include "tests/tools/baker_test_support.h"
#include "tools/model_3ds_writer.h"
#include "world/model_3ds_format.h"

using namespace baker;

namespace {

struct Chunk {
  std::uint16_t id;
  std::uint32_t start;
  std::uint32_t length;
};

std::uint16_t readU16(const std::vector<unsigned char>& bytes, size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

std::uint32_t readU32(const std::vector<unsigned char>& bytes, size_t at) {
  return static_cast<std::uint32_t>(readU16(bytes, at)) | static_cast<std::uint32_t>(readU16(bytes, at + 2)) << 16;
}

float readFloat(const std::vector<unsigned char>& bytes, size_t at) {
  const std::uint32_t bits = readU32(bytes, at);
  float value = 0.0f;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

Chunk chunkAt(const std::vector<unsigned char>& bytes, size_t at) {
  return {readU16(bytes, at), static_cast<std::uint32_t>(at), readU32(bytes, at + 2)};
}

// The chunks directly inside the parent, given where the parent's sub-chunks start.
std::vector<Chunk> children(const std::vector<unsigned char>& bytes, const Chunk& parent, size_t firstChild) {
  std::vector<Chunk> result;
  size_t at = firstChild;
  while (at < parent.start + parent.length) {
    const Chunk chunk = chunkAt(bytes, at);
    EXPECT_GE(chunk.length, 6u);
    EXPECT_LE(at + chunk.length, parent.start + parent.length) << "chunk " << std::hex << chunk.id << " overruns";
    if (chunk.length < 6) break;
    result.push_back(chunk);
    at += chunk.length;
  }
  return result;
}

BakedModel triangleModel() {
  BakedModel model;
  model.materials = {texturedMaterial("paint", "paint.jpg")};
  model.materials[0].red = 200;
  model.materials[0].green = 100;
  model.materials[0].blue = 50;
  BakedMesh mesh = namedMesh("wedge", "paint");
  BakedVertex a;
  a.position = Vector3(1.0f, 2.0f, 3.0f);
  a.u = 0.25f;
  a.v = 0.75f;
  BakedVertex b;
  b.position = Vector3(4.0f, 2.0f, 3.0f);
  BakedVertex c;
  c.position = Vector3(1.0f, 5.0f, 3.0f);
  mesh.vertices = {a, b, c};
  BakedTriangle triangle;
  triangle.a = 0;
  triangle.b = 1;
  triangle.c = 2;
  triangle.smoothingGroups = 4;
  mesh.triangles = {triangle};
  model.meshes = {mesh};
  return model;
}

std::vector<unsigned char> encode(const BakedModel& model) {
  std::vector<unsigned char> bytes;
  std::string error;
  EXPECT_TRUE(encodeModel3ds(model, &bytes, &error)) << error;
  return bytes;
}

TEST(Model3dsWriterTest, writesTheChunkTreeTheReaderWalks) {
  const std::vector<unsigned char> bytes = encode(triangleModel());
  const Chunk primary = chunkAt(bytes, 0);
  ASSERT_EQ(primary.id, model3ds::kPrimary);
  EXPECT_EQ(primary.length, bytes.size());

  const std::vector<Chunk> top = children(bytes, primary, 6);
  ASSERT_EQ(top.size(), 2u);
  EXPECT_EQ(top[0].id, model3ds::kVersion);
  EXPECT_EQ(readU32(bytes, top[0].start + 6), 3u);
  EXPECT_EQ(top[1].id, model3ds::kObjectInfo);

  const std::vector<Chunk> info = children(bytes, top[1], top[1].start + 6);
  ASSERT_EQ(info.size(), 3u);
  EXPECT_EQ(info[0].id, model3ds::kMeshVersion);
  EXPECT_EQ(info[1].id, model3ds::kMaterialBlock);
  EXPECT_EQ(info[2].id, model3ds::kNamedObject);

  const std::vector<Chunk> material = children(bytes, info[1], info[1].start + 6);
  ASSERT_EQ(material.size(), 3u);
  EXPECT_EQ(material[0].id, model3ds::kMaterialName);
  EXPECT_EQ(material[1].id, model3ds::kDiffuseColour);
  EXPECT_EQ(material[2].id, model3ds::kTextureMap);
  const std::vector<Chunk> colour = children(bytes, material[1], material[1].start + 6);
  ASSERT_EQ(colour.size(), 1u);
  EXPECT_EQ(colour[0].id, model3ds::kColour24);
  EXPECT_EQ(bytes[colour[0].start + 6], 200);

  // The object's name is its own data, then the mesh and its lists.
  const size_t afterName = info[2].start + 6 + std::strlen("wedge") + 1;
  const std::vector<Chunk> object = children(bytes, info[2], afterName);
  ASSERT_EQ(object.size(), 1u);
  EXPECT_EQ(object[0].id, model3ds::kTriangleMesh);
  const std::vector<Chunk> lists = children(bytes, object[0], object[0].start + 6);
  ASSERT_EQ(lists.size(), 3u);
  EXPECT_EQ(lists[0].id, model3ds::kVertexList);
  EXPECT_EQ(lists[1].id, model3ds::kTexCoordList);
  EXPECT_EQ(lists[2].id, model3ds::kFaceList);
  // The face list holds its count and triangles, then the face-material and smoothing chunks.
  const std::vector<Chunk> faceParts = children(bytes, lists[2], lists[2].start + 6 + 2 + 8);
  ASSERT_EQ(faceParts.size(), 2u);
  EXPECT_EQ(faceParts[0].id, model3ds::kFaceMaterialList);
  EXPECT_EQ(faceParts[1].id, model3ds::kSmoothingGroups);
  EXPECT_EQ(readU32(bytes, faceParts[1].start + 6), 4u);
}

TEST(Model3dsWriterTest, storesVerticesZUpSoTheReadersTurnGivesThemBack) {
  const std::vector<unsigned char> bytes = encode(triangleModel());
  // Find the vertex list by its id and count.
  size_t at = 0;
  for (; at + 8 < bytes.size(); ++at) {
    if (readU16(bytes, at) == model3ds::kVertexList && readU16(bytes, at + 6) == 3) break;
  }
  ASSERT_LT(at + 8, bytes.size());
  // (1, 2, 3) is stored as (1, -3, 2): the reader's (x, z, -y) turns it back into (1, 2, 3).
  EXPECT_FLOAT_EQ(readFloat(bytes, at + 8), 1.0f);
  EXPECT_FLOAT_EQ(readFloat(bytes, at + 12), -3.0f);
  EXPECT_FLOAT_EQ(readFloat(bytes, at + 16), 2.0f);
}

TEST(Model3dsWriterTest, refusesWhatTheFormatCannotHold) {
  std::vector<unsigned char> bytes;
  std::string error;

  BakedModel tooMany = triangleModel();
  tooMany.meshes[0].vertices.resize(65536);
  EXPECT_FALSE(encodeModel3ds(tooMany, &bytes, &error));
  EXPECT_NE(error.find("65535"), std::string::npos);

  BakedModel pastEnd = triangleModel();
  pastEnd.meshes[0].triangles[0].c = 3;
  EXPECT_FALSE(encodeModel3ds(pastEnd, &bytes, &error));

  BakedModel unknownMaterial = triangleModel();
  unknownMaterial.meshes[0].materialName = "Paint";
  EXPECT_FALSE(encodeModel3ds(unknownMaterial, &bytes, &error));
  EXPECT_NE(error.find("Paint"), std::string::npos);

  BakedModel atLimit = triangleModel();
  atLimit.meshes[0].vertices.resize(65535);
  EXPECT_TRUE(encodeModel3ds(atLimit, &bytes, &error)) << error;
}

TEST(Model3dsWriterTest, lib3dsReadsNamesMaterialAndGeometry) {
  bakertest::TemporaryFolder folder("writer");
  ASSERT_TRUE(writeModel3dsFile(folder.file("wedge.3ds"), triangleModel()));
  Lib3dsFile* file = lib3ds_file_load(folder.file("wedge.3ds").c_str());
  ASSERT_NE(file, nullptr);
  ASSERT_NE(file->meshes, nullptr);
  const Lib3dsMesh* mesh = file->meshes;
  EXPECT_STREQ(mesh->name, "wedge");
  ASSERT_EQ(mesh->points, 3u);
  ASSERT_EQ(mesh->faces, 1u);
  ASSERT_EQ(mesh->texels, 3u);
  EXPECT_FLOAT_EQ(mesh->pointL[0].pos[1], -3.0f);
  EXPECT_FLOAT_EQ(mesh->texelL[0][0], 0.25f);
  EXPECT_FLOAT_EQ(mesh->texelL[0][1], 0.75f);
  EXPECT_STREQ(mesh->faceL[0].material, "paint");
  ASSERT_NE(file->materials, nullptr);
  EXPECT_STREQ(file->materials->name, "paint");
  EXPECT_STREQ(file->materials->texture1_map.name, "paint.jpg");
  EXPECT_NEAR(file->materials->diffuse[0], 200.0f / 255.0f, 0.01f);
  lib3ds_file_free(file);
}

}  // namespace
