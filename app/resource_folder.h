// Start-up's first step: where the run's log goes, and the resource folder (the one that holds
// data/ and the shader files) that every loader reads from.
#pragma once

#include <string>

#include "core/resource_paths.h"

// Moves the log to the user's state folder when the working folder cannot take it, and says so
// on stderr. Outputs named on the command line stay relative to the working folder.
void placeLog();
// The paths of the first folder that holds data/ and every shader file. False, after one stderr
// line naming every folder tried, when none holds them.
bool findResourcePaths(ResourcePaths& paths);
// The texture manager, the model reader, the sound player and the shader manager each keep a
// copy of the paths and read from them from now on.
void pointLoadersAt(const ResourcePaths& paths);
// How the resource folder is named to the user.
std::string resourceFolderDescription(const ResourcePaths& paths);
