// The reader against files written by real exporters (lib3ds, assimp), compared with what lib3ds
// itself reads from the same files.
#include <gtest/gtest.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "tests/support/private_working_folder.h"
#include "world/model_3ds_reader.h"

namespace {

struct Lib3dsFileDeleter {
  void operator()(Lib3dsFile* file) const { lib3ds_file_free(file); }
};
using Lib3dsFilePtr = std::unique_ptr<Lib3dsFile, Lib3dsFileDeleter>;

const ImportedObject* findObject(const ImportedModel& model, const std::string& name) {
  for (const ImportedObject& object : model.objects) {
    if (object.name == name) {
      return &object;
    }
  }
  return nullptr;
}

int materialPosition(const ImportedModel& model, const std::string& name) {
  for (size_t i = 0; i < model.materials.size(); ++i) {
    if (model.materials[i].name == name) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

// Every mesh lib3ds reads is an object of ours with the same vertices (turned to y-up), texture
// coordinates and faces, and the material of its faces.
void expectSameMeshes(const ImportedModel& ours, Lib3dsFile* theirs) {
  size_t meshCount = 0;
  for (Lib3dsMesh* mesh = theirs->meshes; mesh != nullptr; mesh = mesh->next, ++meshCount) {
    SCOPED_TRACE(mesh->name);
    const ImportedObject* object = findObject(ours, mesh->name);
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(object->vertexCount, static_cast<int32_t>(mesh->points));
    for (uint32_t i = 0; i < mesh->points; ++i) {
      const float* position = mesh->pointL[i].pos;
      EXPECT_EQ(object->vertices[3 * i], position[0]);
      EXPECT_EQ(object->vertices[3 * i + 1], position[2]);
      EXPECT_EQ(object->vertices[3 * i + 2], -position[1]);
    }
    ASSERT_EQ(object->texCoordCount, static_cast<int32_t>(mesh->texels));
    for (uint32_t i = 0; i < mesh->texels; ++i) {
      EXPECT_EQ(object->texCoords[2 * i], mesh->texelL[i][0]);
      EXPECT_EQ(object->texCoords[2 * i + 1], mesh->texelL[i][1]);
    }
    ASSERT_EQ(object->faceCount, static_cast<int32_t>(mesh->faces));
    for (uint32_t i = 0; i < mesh->faces; ++i) {
      for (int corner = 0; corner < 3; ++corner) {
        EXPECT_EQ(object->faces[i].index[corner], mesh->faceL[i].points[corner]);
      }
    }
    if (mesh->faces > 0 && mesh->faceL[0].material[0] != '\0') {
      EXPECT_EQ(object->materialIndex, materialPosition(ours, mesh->faceL[0].material));
    } else {
      EXPECT_EQ(object->materialIndex, 0);
    }
  }
  EXPECT_EQ(ours.objects.size(), meshCount);
}

// Every material lib3ds reads is one of ours with the same texture file (only the first texture
// map counts) and the colour expectColour checks; returns how many of lib3ds's we do not have.
template <typename ColourCheck>
size_t expectSameMaterials(const ImportedModel& ours, Lib3dsFile* theirs, ColourCheck expectColour) {
  size_t matched = 0;
  size_t missing = 0;
  for (Lib3dsMaterial* material = theirs->materials; material != nullptr; material = material->next) {
    SCOPED_TRACE(material->name);
    const int position = materialPosition(ours, material->name);
    if (position < 0) {
      ++missing;
      continue;
    }
    const ImportedMaterial& read = ours.materials[static_cast<size_t>(position)];
    EXPECT_EQ(read.textureFile, material->texture1_map.name);
    expectColour(read.colour, material->diffuse);
    ++matched;
  }
  EXPECT_EQ(ours.materials.size(), matched);
  return missing;
}

Lib3dsMaterial* newMaterial(const char* name, float red, float green, float blue) {
  Lib3dsMaterial* material = lib3ds_material_new();
  std::snprintf(material->name, sizeof(material->name), "%s", name);
  material->diffuse[0] = red;
  material->diffuse[1] = green;
  material->diffuse[2] = blue;
  return material;
}

Lib3dsMesh* newRandomMesh(std::mt19937& generator, const char* name, uint32_t vertexCount, uint32_t faceCount,
                          bool textured, const char* materialName) {
  std::uniform_real_distribution<float> coordinate(-100.0f, 100.0f);
  std::uniform_int_distribution<uint32_t> corner(0, vertexCount - 1);
  Lib3dsMesh* mesh = lib3ds_mesh_new(name);
  lib3ds_mesh_new_point_list(mesh, vertexCount);
  lib3ds_mesh_new_face_list(mesh, faceCount);
  if (textured) {
    lib3ds_mesh_new_texel_list(mesh, vertexCount);
  }
  for (uint32_t i = 0; i < vertexCount; ++i) {
    for (float& value : mesh->pointL[i].pos) {
      value = coordinate(generator);
    }
    if (textured) {
      mesh->texelL[i][0] = coordinate(generator) * 0.01f;
      mesh->texelL[i][1] = coordinate(generator) * 0.01f;
    }
  }
  for (uint32_t i = 0; i < faceCount; ++i) {
    for (Lib3dsWord& index : mesh->faceL[i].points) {
      index = static_cast<Lib3dsWord>(corner(generator));
    }
    mesh->faceL[i].smoothing = 1u << (i % 4);
    std::snprintf(mesh->faceL[i].material, sizeof(mesh->faceL[i].material), "%s", materialName);
  }
  return mesh;
}

TEST(Model3dsExportersTest, readsWhatLib3dsWritesAsLib3dsReadsIt) {
  const PrivateWorkingFolder working;
  const std::string path = working.path() + "/lib3ds_written.3ds";
  {
    Lib3dsFilePtr file(lib3ds_file_new());
    Lib3dsMaterial* stone = newMaterial("Stone", 1.0f, 0.5f, 0.25f);
    std::strcpy(stone->texture1_map.name, "stone.jpg");
    Lib3dsMaterial* bumpy = newMaterial("Bumpy", 0.2f, 0.3f, 0.4f);
    std::strcpy(bumpy->bump_map.name, "bump.jpg");
    std::strcpy(bumpy->specular_map.name, "shine.jpg");
    lib3ds_file_insert_material(file.get(), stone);
    lib3ds_file_insert_material(file.get(), bumpy);
    lib3ds_file_insert_material(file.get(), newMaterial("Plain", 0.0f, 0.0f, 1.0f));
    std::mt19937 generator(3);
    lib3ds_file_insert_mesh(file.get(), newRandomMesh(generator, "wall", 300, 500, true, "Stone"));
    lib3ds_file_insert_mesh(file.get(), newRandomMesh(generator, "lamp", 40, 60, false, "Plain"));
    lib3ds_file_insert_mesh(file.get(), newRandomMesh(generator, "door", 80, 100, true, "Bumpy"));
    lib3ds_file_insert_mesh(file.get(), newRandomMesh(generator, "bare", 10, 5, false, ""));
    ASSERT_TRUE(lib3ds_file_save(file.get(), path.c_str()));
  }
  Lib3dsFilePtr theirs(lib3ds_file_load(path.c_str()));
  ASSERT_NE(theirs, nullptr);
  ImportedModel ours;
  ASSERT_TRUE(Model3dsReader().importFile(ours, path));

  const size_t missing = expectSameMaterials(ours, theirs.get(), [](const uint8_t* read, const float* diffuse) {
    for (int channel = 0; channel < 3; ++channel) {
      EXPECT_EQ(read[channel], std::lround(diffuse[channel] * 255.0f));
    }
  });
  EXPECT_EQ(missing, 0u);
  EXPECT_EQ(ours.materials.size(), 3u);
  expectSameMeshes(ours, theirs.get());
}

// assimp writes the materials first in the object-info block, where the reader passes over the
// first sub-chunk whatever it is, and its colours as floats, of which the reader takes the first
// three bytes.
TEST(Model3dsExportersTest, readsWhatAssimpWritesWithTheReadersOwnQuirks) {
  if (std::system("command -v assimp >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "assimp is not installed";
  }
  const PrivateWorkingFolder working;
  const std::string folder = working.path() + "/";
  std::ofstream(folder + "exported.mtl") << "newmtl Brick\nKd 0.75 0.25 0.5\nmap_Kd brick.jpg\n"
                                         << "newmtl Glass\nKd 0.1 0.2 0.9\n";
  std::ofstream(folder + "exported.obj") << "mtllib exported.mtl\n"
                                         << "o Wall\nv 0 0 0\nv 2 0 0\nv 2 1 0\nv 0 1 3\n"
                                         << "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvn 0 0 1\n"
                                         << "usemtl Brick\nf 1/1/1 2/2/1 3/3/1\nf 1/1/1 3/3/1 4/4/1\n"
                                         << "o Pane\nv 5 5 5\nv 6 5 5\nv 5 6 5\n"
                                         << "usemtl Glass\nf 5 6 7\n";
  const std::string exported = folder + "exported.3ds";
  const std::string command = "cd '" + folder + "' && assimp export exported.obj exported.3ds >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0);

  Lib3dsFilePtr theirs(lib3ds_file_load(exported.c_str()));
  ASSERT_NE(theirs, nullptr);
  ImportedModel ours;
  ASSERT_TRUE(Model3dsReader().importFile(ours, exported));

  // Of a float colour the reader keeps the first three bytes of the red value.
  const size_t passedOver = expectSameMaterials(ours, theirs.get(), [](const uint8_t* read, const float* diffuse) {
    EXPECT_EQ(std::memcmp(read, &diffuse[0], 3), 0);
  });
  EXPECT_EQ(passedOver, 1u);
  EXPECT_GE(ours.materials.size(), 2u);
  expectSameMeshes(ours, theirs.get());
}

}  // namespace
