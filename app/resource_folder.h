// Start-up's first step: where the run's log goes, and the resource folder (the one that holds
// data/ and the shader files) that every loader reads from.
#pragma once

#include <string>

// The data folder inside the resource folder.
constexpr const char* kDataFolder = "data/";

// Moves the log to the user's state folder when the working folder cannot take it, and says so
// on stderr. Outputs named on the command line stay relative to the working folder.
void placeLog();
// Finds the resource folder and points the texture manager, the model reader, the sound player
// and the shader manager at it. False, after one stderr line naming every folder tried, when
// none holds the files.
bool pointLoadersAtResources();
// How the chosen resource folder is named to the user.
std::string resourceFolderDescription();
