// One normal per vertex of an imported object, from the faces that use the vertex.
#pragma once

#include "world/imported_model.h"

// Each face (P, Q, R) gives F = (P - R) × (R - Q); a vertex's normal is the unit vector along
// minus the sum of the F of its faces, taken in face order. A face with an index not below
// vertexCount takes no part; a vertex whose sum is zero (or cannot be scaled) gets (0, 0, 0).
void computeVertexNormals(ImportedObject& object);
