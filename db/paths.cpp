#include "db/paths.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include "base/file.h"

namespace spinox {

const char* const kSongFile = "gen_spinox.sng";
const char* const kAlbumFile = "gen_spinox.alb";
const char* const kArtistFile = "gen_spinox.art";
const char* const kHitFile = "gen_spinox.hit";
const char* const kSettingsFile = "gen_spinox.dat";

namespace {

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string& DataDirStore() {
  static std::string dir;
  return dir;
}

std::vector<std::string>& StagedNames() {
  static std::vector<std::string> names;
  return names;
}

}  // namespace

void SetAppPath(const std::string& appDir) {
  DataDirStore() = appDir + kSeparator + "plugins";
}

void SetDataDir(const std::string& dataDir) {
  DataDirStore() = dataDir;
}

const std::string& DataDir() {
  return DataDirStore();
}

// Before a folder is set the files are looked for in the current folder.
std::string RealPath(const std::string& name) {
  if (DataDir().empty()) return name;
  return DataDir() + kSeparator + name;
}

std::string FullPath(const std::string& name) {
  const std::vector<std::string>& staged = StagedNames();
  if (!staged.empty() && std::find(staged.begin(), staged.end(), name) != staged.end())
    return StagedPath(name);
  return RealPath(name);
}

std::string StagedPath(const std::string& name) {
  return RealPath(name) + ".new";
}

void SetStaged(const std::string& name, bool staged) {
  std::vector<std::string>& names = StagedNames();
  names.erase(std::remove(names.begin(), names.end(), name), names.end());
  if (staged) names.push_back(name);
}

std::string DataFileRefusal() {
  for (const char* name : {kSongFile, kAlbumFile, kArtistFile, kHitFile, kSettingsFile}) {
    std::string path = RealPath(name);
    PathKind kind = KindOf(path);
    if (kind == PathKind::kFolder) return path + ": " + FileErrorText(EISDIR);
    if (kind == PathKind::kOther) return path + ": " + FileErrorText(ENODEV);
  }
  return "";
}

}  // namespace spinox
