// The whole data folder: models, pictures and music, each part independent of the others.
#include "tools/data_folder_baker.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>

#include "core/program_name.h"

namespace baker {

std::string dataPath(const std::string& folder, const std::string& fileName) {
  return (std::filesystem::path(folder) / fileName).string();
}

bool bakeDataFolder(const std::string& folder, const BakeOptions& options) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) {
    std::fprintf(stderr, "%s: bake: cannot create the folder %s: %s\n", kToolName, folder.c_str(), error.message().c_str());
    return false;
  }
  // The music takes most of the time; it shares nothing with the rest, so it is made alongside.
  bool musicWritten = false;
  std::thread music([&folder, &musicWritten] { musicWritten = bakeMusic(folder); });
  bool allWritten = bakeModels(folder);
  allWritten = bakeTextModels(folder, options) && allWritten;
  allWritten = bakePictures(folder) && allWritten;
  music.join();
  return musicWritten && allWritten;
}

}  // namespace baker
