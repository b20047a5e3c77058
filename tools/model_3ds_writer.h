// Turns a baked model into the bytes of a 3DS file, the format the presentation's model reader
// takes: one material block per material, one named triangle-mesh object per mesh.
#pragma once

#include <string>
#include <vector>

#include "tools/baked_model.h"

namespace baker {

// The file's axes are z up: a vertex (x, y, z) of the model is stored as (x, -z, y), which the
// reader turns back. Returns false, with the reason in *error, when a mesh has more than 65,535
// vertices or triangles, a corner index points past its vertices, or a mesh names a material
// the model does not have.
bool encodeModel3ds(const BakedModel& model, std::vector<unsigned char>* bytes, std::string* error);

// Encodes and writes the file; failures go to stderr.
bool writeModel3dsFile(const std::string& path, const BakedModel& model);

}  // namespace baker
