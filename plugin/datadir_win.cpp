// Where the data files live: the player's plugins folder, or the user's own when a protected
// install (Program Files) does not let the player write there.
#include <windows.h>
// The shell headers below need windows.h first.
#include <shlobj.h>

#include <string>

#include "db/database.h"
#include "plugin/shell_win.h"

namespace spinox {

namespace {

// The folder of the player's executable.
std::string PlayerFolder() {
  char path[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n < MAX_PATH ? n : MAX_PATH);
  size_t cut = folder.find_last_of('\\');
  return cut == std::string::npos ? std::string(".") : folder.substr(0, cut);
}

std::string UserAppData() {
  char path[MAX_PATH + 1] = {};
  DWORD n = GetEnvironmentVariableA("APPDATA", path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return path;
  if (SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK)
    return path;
  return std::string();
}

// Makes the folder and any missing folder above it.
bool MakeFolder(const std::string& folder) {
  SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
  DWORD attributes = GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

bool FolderWritable(const char* folder) {
  char probe[MAX_PATH + 1] = {};
  if (!GetTempFileNameA(folder, "spx", 0, probe)) return false;
  DeleteFileA(probe);
  return true;
}

// Decided once: a later change of rights does not move the files in the middle of a session.
void ChooseDataFolder() {
  std::string app = PlayerFolder();
  if (FolderWritable((app + "\\plugins").c_str())) {
    SetAppPath(app);
    return;
  }
  std::string appData = UserAppData();
  std::string user = appData + "\\Winamp";
  if (appData.empty() || !MakeFolder(user) || !MakeFolder(user + "\\plugins")) {
    SetAppPath(app);  // nowhere better: the plays will be lost as before
    return;
  }
  SetAppPath(user);
}

}  // namespace spinox
