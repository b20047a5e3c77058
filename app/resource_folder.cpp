#include "app/resource_folder.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "audio/sound_player.h"
#include "core/debug_log.h"
#include "core/program_name.h"
#include "gpu/shader_manager.h"
#include "gpu/texture_manager.h"
#include "platform/file_locations.h"
#include "world/model_3ds_reader.h"

namespace {

// Empty for the working folder, so that names in messages stay as they were given.
std::string gResourceFolder;
// The resource folder's data folder; the texture manager keeps a pointer into it.
std::string gDataFolder;

}  // namespace

void placeLog() {
  if (platform::workingFolderWritable()) {
    return;
  }
  const std::string folder = platform::stateFolder(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"));
  // Without a state folder the log stays put, and its first failed write says so.
  if (folder.empty() || !platform::createFolders(folder)) {
    return;
  }
  const std::string path = folder + kLogFileName;
  DebugLog::setLogPath(path);
  std::fprintf(stderr, "%s: the working folder cannot be written; the log goes to %s\n", kPresentationName,
               path.c_str());
}

bool pointLoadersAtResources() {
  const std::vector<std::string> candidates = platform::resourceFolderCandidates();
  if (!platform::findResourceFolder(candidates, kDataFolder, kPerPixelVertexFile, gResourceFolder)) {
    std::string searched;
    for (const std::string& candidate : candidates) {
      searched += (searched.empty() ? "" : ", ") + platform::describeFolder(candidate);
    }
    std::fprintf(stderr, "%s: no folder holds %s and %s; looked in %s\n", kPresentationName, kDataFolder,
                 kPerPixelVertexFile, searched.c_str());
    return false;
  }
  gDataFolder = gResourceFolder + kDataFolder;
  textureManager().dataFolder = gDataFolder.c_str();
  model3dsReader().setDataFolder(gDataFolder);
  soundPlayer().soundFolder = gDataFolder;
  shaderManager().sourceFolder = gResourceFolder;
  return true;
}

std::string resourceFolderDescription() { return platform::describeFolder(gResourceFolder); }
