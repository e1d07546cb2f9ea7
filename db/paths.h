// The data folder and the names and paths of the data files in it.
#pragma once
#include <string>

namespace spinox {

extern const char* const kSongFile;      // "gen_spinox.sng"
extern const char* const kAlbumFile;     // "gen_spinox.alb"
extern const char* const kArtistFile;    // "gen_spinox.art"
extern const char* const kHitFile;       // "gen_spinox.hit"
extern const char* const kSettingsFile;  // "gen_spinox.dat"

// The data folder is the application folder's "plugins" subfolder.
void SetAppPath(const std::string& appDir);
// Sets the data folder itself (the tool's --db, or a per-user folder).
void SetDataDir(const std::string& dataDir);
const std::string& DataDir();
// Path of a data file: the data folder, a separator and the name; while a Change has staged
// the file (db/journal.h), the path of its staged copy, so every reader and writer in this
// process works on the copy.
std::string FullPath(const std::string& name);
// The data file's own path, and that of its staged copy ("<path>.new"), whatever is staged.
std::string RealPath(const std::string& name);
std::string StagedPath(const std::string& name);
// Makes FullPath(name) name the staged copy, or the file again (used by Change).
void SetStaged(const std::string& name, bool staged);
// The first data file (the four record files, then the settings file) that is there but is not
// a regular file, as "PATH: it is a folder"; empty when there is none. Such a file is never
// opened, so every read sees it as missing and every write fails.
std::string DataFileRefusal();

}  // namespace spinox
