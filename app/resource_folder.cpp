#include "app/resource_folder.h"

#include <cstdio>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "audio/sound_player.h"
#include "core/program_name.h"
#include "core/debug_log.h"
#include "effects/volume_lines.h"
#include "gpu/shader_manager.h"
#include "gpu/texture_manager.h"
#include "platform/file_locations.h"
#include "world/model_3ds_reader.h"

void placeLog() {
  if (platform::workingFolderWritable()) {
    return;
  }
  const std::string working = std::string("the working folder cannot be written (") + std::strerror(errno) + ")";
  // Each state folder that fails is named with its reason, so the line says why the log is where it is.
  std::string failed;
  for (const std::string& folder : platform::stateFolders(std::getenv("XDG_STATE_HOME"), std::getenv("HOME"))) {
    if (!platform::createFolders(folder)) {
      failed += std::string(", nor ") + folder + " (" + std::strerror(errno) + ")";
      continue;
    }
    const std::string path = folder + kLogFileName;
    DebugLog::setLogPath(path);
    std::fprintf(stderr, "%s: %s%s; the log goes to %s\n", kPresentationName, working.c_str(), failed.c_str(), path.c_str());
    return;
  }
  // Without a state folder the log stays put, and its first failed write says so.
  std::fprintf(stderr, "%s: %s%s; no folder takes the log\n", kPresentationName, working.c_str(), failed.c_str());
}

bool findResourcePaths(ResourcePaths& paths) {
  const std::vector<std::string> candidates = platform::resourceFolderCandidates();
  // A folder missing one of them would only fail later, one scene at a time, while a complete
  // copy further down the list went unused.
  const std::vector<std::string> shaderFiles = {kPerPixelVertexFile, kPerPixelFragmentFile, kVolumeLinesVertexFile,
                                                kVolumeLinesFragmentFile};
  // Empty for the working folder, so that names in messages stay as they were given.
  std::string resourceFolder;
  if (!platform::findResourceFolder(candidates, kDataFolder, shaderFiles, resourceFolder)) {
    std::string searched;
    for (const std::string& candidate : candidates) {
      searched += (searched.empty() ? "" : ", ") + platform::describeFolder(candidate);
    }
    std::string named;
    for (const std::string& file : shaderFiles) {
      named += ", " + file;
    }
    std::fprintf(stderr, "%s: no folder holds %s%s; looked in %s\n", kPresentationName, kDataFolder, named.c_str(), searched.c_str());
    return false;
  }
  paths = resourcePathsIn(resourceFolder);
  return true;
}

void pointLoadersAt(const ResourcePaths& paths) {
  textureManager().usePaths(paths);
  model3dsReader().usePaths(paths);
  soundPlayer().usePaths(paths);
  shaderManager().usePaths(paths);
}

std::string resourceFolderDescription(const ResourcePaths& paths) {
  return platform::describeFolder(paths.resourceFolder);
}
