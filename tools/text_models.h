// The title scene's extruded texts: capital letters from a font outline, with tessellated caps
// and side walls, centred on the origin and facing +z.
#pragma once

#include <string>
#include <vector>

#include "tools/baked_model.h"
#include "tools/baked_models.h"

namespace baker {

constexpr float kTextMaxWidth = 14.0f;
constexpr float kTextMaxHeight = 3.0f;
constexpr float kTextDepth = 1.5f;

// The line in capitals, in "Arial Black" or, where that is not installed, a bold sans face,
// scaled to fit kTextMaxWidth x kTextMaxHeight. False (with a line on stderr) when no font can
// be read or the outline cannot be cut into triangles; a line without any drawable character
// gives a model with an empty mesh.
bool buildTextModel(const std::string& line, BakedModel* model);

std::vector<ModelPicture> paintTextPictures();

// ASCII letters to capitals; everything else unchanged (no locale is consulted).
std::string toCapitals(const std::string& text);

}  // namespace baker
