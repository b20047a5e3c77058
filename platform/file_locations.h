// Where a run finds its files: the resource folder its data/ folder and shader files are read
// from, and the file its log is appended to. Start-up decides both once, before anything loads.
// A folder here is either empty (the working folder, so names stay relative to it, as given) or
// an absolute path ending in '/'.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The folders that may be the resource folder, in the order they are tried: the working folder;
// the running program's folder (the build's runnable folder); the share folder beside the
// program (an install under any prefix); the share folder of the configured install. Folders
// that exist are given as their real paths, each once.
std::vector<std::string> resourceFolderCandidates();
// The first candidate that holds the folder dataFolder and every one of the files; false when
// none does.
bool findResourceFolder(const std::vector<std::string>& candidates, const std::string& dataFolder,
                        const std::vector<std::string>& files, std::string& folder);
// How a resource folder is named to the user: the working folder says where it is.
std::string describeFolder(const std::string& folder);

// The folders for the log when the working folder cannot take it, in the order to try them:
// $XDG_STATE_HOME/orvo-gl/, then ~/.local/state/orvo-gl/. A variable that is unset or not an
// absolute path gives none; the list is empty when neither gives one.
std::vector<std::string> stateFolders(const char* xdgStateHome, const char* home);
// False, with errno saying why, when files cannot be made in the working folder: no write
// permission, or the folder was deleted while it was the working folder.
bool workingFolderWritable();
// Creates the folder and any missing parents (like mkdir -p) and checks that files can be made in
// it; false, with errno saying why, when they cannot.
bool createFolders(const std::string& folder);

}  // namespace platform
