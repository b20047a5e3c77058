// Bakes the presentation's whole data folder: every model, picture and the music track, the
// same bytes on every run.
#pragma once

#include <string>

namespace baker {

// The four lines of the title scene's extruded texts, in UTF-8; each at most kMaxTextLineLength
// characters (code points), drawn in capitals.
struct BakeOptions {
  std::string title = "VALLOMERE";
  std::string credit1 = "CODE CREW";
  std::string credit2 = "SOUND LAB";
  std::string farewell = "GOODBYE";
};

constexpr size_t kMaxTextLineLength = 10;

// Creates the folder when needed and writes every file into it; false when any file fails
// (each failure has its own line on stderr; the other files are still written).
bool bakeDataFolder(const std::string& folder, const BakeOptions& options);

// The path of `fileName` inside `folder`.
std::string dataPath(const std::string& folder, const std::string& fileName);

// The baker's parts, each writing its own files into the folder.
bool bakeModels(const std::string& folder);
bool bakeTextModels(const std::string& folder, const BakeOptions& options);
bool bakePictures(const std::string& folder);
bool bakeMusic(const std::string& folder);

}  // namespace baker
