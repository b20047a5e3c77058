#include "platform/file_locations.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

bool isFolder(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isFile(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

std::string withSlash(const std::string& folder) {
  return folder.empty() || folder.back() == '/' ? folder : folder + "/";
}

// The real path of a folder that exists; the path as given otherwise.
std::string realFolder(const std::string& folder) {
  char resolved[PATH_MAX];
  return withSlash(realpath(folder.c_str(), resolved) != nullptr ? std::string(resolved) : folder);
}

// The running program's folder, ending in '/'; empty when /proc does not say.
std::string runningProgramFolder() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  if (length <= 0) {
    return std::string();
  }
  const std::string program(path, static_cast<size_t>(length));
  const size_t slash = program.rfind('/');
  return slash == std::string::npos ? std::string() : program.substr(0, slash + 1);
}

bool isAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

// A folder files can be made in. A deleted folder still passes the permission check while it is
// someone's working folder, but it has no links left and takes no new files.
bool folderWritable(const std::string& folder) {
  struct stat status {};
  if (stat(folder.c_str(), &status) != 0) {
    return false;
  }
  if (!S_ISDIR(status.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  if (status.st_nlink == 0) {
    errno = ENOENT;
    return false;
  }
  return access(folder.c_str(), W_OK) == 0;
}

}  // namespace

std::vector<std::string> resourceFolderCandidates() {
  std::vector<std::string> candidates = {std::string()};
  const std::string programFolder = runningProgramFolder();
  if (!programFolder.empty()) {
    candidates.push_back(realFolder(programFolder));
    candidates.push_back(realFolder(programFolder + DEMO_RESOURCES_FROM_PROGRAM));
  }
  candidates.push_back(realFolder(DEMO_INSTALLED_RESOURCES));
  // An install into the configured prefix reaches its share folder both ways.
  std::vector<std::string> distinct;
  for (const std::string& candidate : candidates) {
    if (std::find(distinct.begin(), distinct.end(), candidate) == distinct.end()) {
      distinct.push_back(candidate);
    }
  }
  return distinct;
}

bool findResourceFolder(const std::vector<std::string>& candidates, const std::string& dataFolder,
                        const std::vector<std::string>& files, std::string& folder) {
  for (const std::string& candidate : candidates) {
    const bool holdsFiles = std::all_of(files.begin(), files.end(),
                                        [&candidate](const std::string& file) { return isFile(candidate + file); });
    if (isFolder(candidate + dataFolder) && holdsFiles) {
      folder = candidate;
      return true;
    }
  }
  return false;
}

std::string describeFolder(const std::string& folder) {
  if (!folder.empty()) {
    return folder;
  }
  char working[PATH_MAX];
  return getcwd(working, sizeof(working)) != nullptr ? "the working folder " + withSlash(working)
                                                      : std::string("the working folder");
}

std::vector<std::string> stateFolders(const char* xdgStateHome, const char* home) {
  // Relative values are to be ignored, as if the variable were unset.
  std::vector<std::string> folders;
  if (isAbsolute(xdgStateHome)) {
    folders.push_back(withSlash(xdgStateHome) + DEMO_PRODUCT_NAME "/");
  }
  const std::string fromHome = isAbsolute(home) ? withSlash(home) + ".local/state/" DEMO_PRODUCT_NAME "/" : "";
  if (!fromHome.empty() && (folders.empty() || folders.front() != fromHome)) {
    folders.push_back(fromHome);
  }
  return folders;
}

bool workingFolderWritable() { return folderWritable("."); }

bool createFolders(const std::string& folder) {
  for (size_t slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1)) {
    const std::string parent = folder.substr(0, slash);
    if (mkdir(parent.c_str(), 0700) != 0 && errno != EEXIST) {
      return false;
    }
  }
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    return false;
  }
  return folderWritable(folder);
}

}  // namespace platform
