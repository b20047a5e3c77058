// Reading a large 3DS model: our import with vertex normals against lib3ds loading the same file
// without normals, side by side in one run. The file holds two objects of 30,000 vertices and
// 50,000 faces each, written once by lib3ds.
#include <benchmark/benchmark.h>
#include <lib3ds/file.h>
#include <lib3ds/material.h>
#include <lib3ds/mesh.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "world/model_3ds_reader.h"

namespace {

constexpr uint32_t kGridColumns = 200;
constexpr uint32_t kGridRows = 150;
constexpr uint32_t kFacesPerObject = 50000;
constexpr int kObjectCount = 2;

// A gently waved grid with texture coordinates, split into triangles row by row.
Lib3dsMesh* newGridMesh(const char* name, float offset) {
  Lib3dsMesh* mesh = lib3ds_mesh_new(name);
  lib3ds_mesh_new_point_list(mesh, kGridColumns * kGridRows);
  lib3ds_mesh_new_texel_list(mesh, kGridColumns * kGridRows);
  lib3ds_mesh_new_face_list(mesh, kFacesPerObject);
  for (uint32_t row = 0; row < kGridRows; ++row) {
    for (uint32_t column = 0; column < kGridColumns; ++column) {
      const uint32_t index = row * kGridColumns + column;
      float* position = mesh->pointL[index].pos;
      position[0] = static_cast<float>(column) + offset;
      position[1] = static_cast<float>(row);
      position[2] = static_cast<float>((column * 7 + row * 13) % 17) * 0.1f;
      mesh->texelL[index][0] = static_cast<float>(column) / kGridColumns;
      mesh->texelL[index][1] = static_cast<float>(row) / kGridRows;
    }
  }
  uint32_t face = 0;
  for (uint32_t row = 0; row + 1 < kGridRows && face < kFacesPerObject; ++row) {
    for (uint32_t column = 0; column + 1 < kGridColumns && face < kFacesPerObject; ++column) {
      const Lib3dsWord corner = static_cast<Lib3dsWord>(row * kGridColumns + column);
      const Lib3dsWord quad[2][3] = {{corner, static_cast<Lib3dsWord>(corner + 1),
                                      static_cast<Lib3dsWord>(corner + kGridColumns + 1)},
                                     {corner, static_cast<Lib3dsWord>(corner + kGridColumns + 1),
                                      static_cast<Lib3dsWord>(corner + kGridColumns)}};
      for (int half = 0; half < 2 && face < kFacesPerObject; ++half, ++face) {
        std::memcpy(mesh->faceL[face].points, quad[half], sizeof(quad[half]));
        std::strcpy(mesh->faceL[face].material, "Ground");
        mesh->faceL[face].smoothing = 1;
      }
    }
  }
  return mesh;
}

const std::string& largeModelPath() {
  static const std::string path = [] {
    const std::string file = "model_bench_large.3ds";
    Lib3dsFile* model = lib3ds_file_new();
    Lib3dsMaterial* material = lib3ds_material_new();
    std::strcpy(material->name, "Ground");
    std::strcpy(material->texture1_map.name, "ground.jpg");
    lib3ds_file_insert_material(model, material);
    for (int object = 0; object < kObjectCount; ++object) {
      const std::string name = "grid" + std::to_string(object);
      lib3ds_file_insert_mesh(model, newGridMesh(name.c_str(), static_cast<float>(object) * 250.0f));
    }
    lib3ds_file_save(model, file.c_str());
    lib3ds_file_free(model);
    return file;
  }();
  return path;
}

void importWithNormals(benchmark::State& state) {
  const std::string& path = largeModelPath();
  Model3dsReader reader;
  for (auto _ : state) {
    ImportedModel model;
    const bool read = reader.importFile(model, path);
    benchmark::DoNotOptimize(read);
    benchmark::DoNotOptimize(model.objects.data());
  }
}
BENCHMARK(importWithNormals)->Unit(benchmark::kMillisecond);

void lib3dsLoadWithoutNormals(benchmark::State& state) {
  const std::string& path = largeModelPath();
  for (auto _ : state) {
    Lib3dsFile* model = lib3ds_file_load(path.c_str());
    benchmark::DoNotOptimize(model);
    lib3ds_file_free(model);
  }
}
BENCHMARK(lib3dsLoadWithoutNormals)->Unit(benchmark::kMillisecond);

}  // namespace
