// Finds the font file for the extruded title texts through fontconfig.
#pragma once

#include <string>

// The file of "Arial Black" when it is installed, otherwise of the bold DejaVu Sans; empty
// when neither can be found.
std::string findTitleFontFile();
