// Where the data files live: the player's plugins folder, or the user's own when a protected
// install (Program Files) does not let the player write there.
#pragma once
#include <string>

namespace spinox {

// The folder of the data files, decided once at start-up: the player's plugins folder when it
// can be written to, else the per-user %APPDATA%\Winamp\plugins (made when missing). The
// first time the per-user folder is used, the plugins folder's database and settings are
// copied to it and the user is told; when that copy fails the plugins folder stays in use.
void ChooseDataFolder();
// True when a file can be created in `folder` (UTF-8).
bool FolderWritable(const std::string& folder);

}  // namespace spinox
