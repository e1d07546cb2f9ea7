// Where the data files live: the player's plugins folder, or the user's own when a protected
// install (Program Files) does not let the player write there.
#include <windows.h>
// The shell headers below need windows.h first.
#include <shlobj.h>

#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/file.h"
#include "base/user.h"
#include "db/journal.h"
#include "db/paths.h"
#include "db/text_encoding.h"
#include "plugin/datadir_win.h"
#include "plugin/plugin_win.h"

namespace spinox {

namespace {

// Every path here is UTF-8, as everywhere in the program; the system is asked with wide names.

// The folder of the player's executable.
std::string PlayerFolder() {
  wchar_t path[MAX_PATH + 1] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::string folder = Utf8FromWide(path, n < MAX_PATH ? n : MAX_PATH);
  size_t cut = folder.find_last_of('\\');
  return cut == std::string::npos ? std::string(".") : folder.substr(0, cut);
}

std::string UserAppData() {
  wchar_t path[MAX_PATH + 1] = {};
  DWORD n = GetEnvironmentVariableW(L"APPDATA", path, MAX_PATH);
  if (n > 0 && n < MAX_PATH) return Utf8FromWide(path, n);
  if (SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK)
    return Utf8FromWide(std::wstring(path));
  return std::string();
}

// Makes the folder and any missing folder above it.
bool MakeFolder(const std::string& folder) {
  SHCreateDirectoryExW(nullptr, WidePath(folder).c_str(), nullptr);
  DWORD attributes = GetFileAttributesW(WidePath(folder).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The files that hold the history: the record files, the settings and the marker of UTF-8
// texts (without it the copy would be taken for an earlier version's database and its texts
// converted again), and what an unfinished change left (its journal, staged copies and set-aside
// originals), so that it is finished or undone in the new folder as it would have been in the
// old one.
std::vector<std::string> HistoryFiles() {
  std::vector<std::string> names = {kJournalFile};
  for (const char* name :
       {kSongFile, kAlbumFile, kArtistFile, kHitFile, kSettingsFile, kUtf8MarkerFile}) {
    names.push_back(name);
    names.push_back(std::string(name) + ".new");
    names.push_back(std::string(name) + ".old");
  }
  return names;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A database is there: any record file, or a change in progress.
bool HoldsDatabase(const std::string& folder) {
  for (const char* name : {kSongFile, kAlbumFile, kArtistFile, kHitFile, kJournalFile})
    if (Exists(folder + "\\" + name)) return true;
  return false;
}

std::string SystemErrorText(DWORD error) {
  wchar_t text[256] = {};
  DWORD n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           error, 0, text, sizeof text / sizeof text[0], nullptr);
  while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' ')) --n;
  return n > 0 ? Utf8FromWide(text, n) : "error " + std::to_string(error);
}

// Copies the history from `from` to `to`, leaving files already in `to` alone: each file
// first under a temporary name, then all of them renamed into place, so that a failed copy
// leaves `to` as it was, without a database (and the next start tries again). Empty on
// success, else why it failed.
std::string CopyHistory(const std::string& from, const std::string& to) {
  std::vector<std::string> copied, placed;
  std::string why;
  for (const std::string& name : HistoryFiles()) {
    std::string source = from + "\\" + name;
    if (!Exists(source) || Exists(to + "\\" + name)) continue;
    if (!CopyFileW(WidePath(source).c_str(), WidePath(to + "\\" + name + ".copy").c_str(), FALSE)) {
      why = name + ": " + SystemErrorText(GetLastError());
      break;
    }
    copied.push_back(name);
  }
  for (const std::string& name : copied) {
    std::string temp = to + "\\" + name + ".copy";
    if (!why.empty()) {
      DeleteFileW(WidePath(temp).c_str());
    } else if (MoveFileW(WidePath(temp).c_str(), WidePath(to + "\\" + name).c_str())) {
      placed.push_back(name);
    } else {
      why = name + ": " + SystemErrorText(GetLastError());
      DeleteFileW(WidePath(temp).c_str());
    }
  }
  if (!why.empty())
    for (const std::string& name : placed) DeleteFileW(WidePath(to + "\\" + name).c_str());
  return why;
}

// The user's folder takes over from an unwritable plugins folder: its history comes along the
// first time. False when it could not be copied (the user is told why).
bool TakeOverHistory(const std::string& plugins, const std::string& user) {
  if (!HoldsDatabase(plugins) || HoldsDatabase(user)) return true;
  std::string why = CopyHistory(plugins, user);
  if (why.empty()) {
    CurrentUser().Tell("Spinox cannot save its files in\n" + plugins + "\nso it keeps them in\n" +
                           user + "\nfrom now on. Your statistics and settings were copied there.",
                       kPluginTitle);
    return true;
  }
  CurrentUser().Tell("Spinox cannot save its files in\n" + plugins +
                         "\nand could not copy them to\n" + user + "\n\n" + why +
                         "\n\nThe statistics can be shown, but new plays cannot be saved.",
                     kPluginTitle);
  return false;
}

}  // namespace

bool FolderWritable(const std::string& folder) {
  wchar_t probe[MAX_PATH + 1] = {};
  if (!GetTempFileNameW(WidePath(folder).c_str(), L"spx", 0, probe)) return false;
  DeleteFileW(probe);
  return true;
}

// Decided once: a later change of rights does not move the files in the middle of a session.
void ChooseDataFolder() {
  std::string app = PlayerFolder();
  if (FolderWritable(app + "\\plugins")) {
    SetAppPath(app);
    return;
  }
  std::string appData = UserAppData();
  std::string user = appData + "\\Winamp";
  if (appData.empty() || !MakeFolder(user) || !MakeFolder(user + "\\plugins") ||
      !TakeOverHistory(app + "\\plugins", user + "\\plugins")) {
    SetAppPath(app);  // nowhere better: the plays will be lost as before
    return;
  }
  SetAppPath(user);
}

}  // namespace spinox
