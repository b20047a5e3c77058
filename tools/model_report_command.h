// orvo-gl-tool inspect-model FILE: prints what the 3DS reader makes of a file, as one JSON document.
#pragma once

#include <string>

#include "world/imported_model.h"

// {"ok": true, "materials": [...], "objects": [...]} on one line. Floats read back to the same
// 32-bit value; NaN and infinities, which JSON cannot hold, are written null. Names are latin-1
// bytes, so every byte outside printable ASCII is written as \u00XX.
std::string formatImportedModelJson(const ImportedModel& model);

// inspect-model FILE: the document on stdout and exit 0, or {"ok": false} and exit 1 when the
// reader cannot read FILE (its message-box texts go to stderr).
int runInspectModel(int argc, char** argv);
