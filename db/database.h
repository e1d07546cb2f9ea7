// The play database: four record files in the data folder, read and written per operation.
// Nothing is cached; the files are the only state.
#pragma once
#include <string>

#include "db/records.h"

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

// Lookups by name, compared without regard to ASCII case; the arguments are not changed. They
// return the lowest index of a live record (one whose own id is not kNoId) of those names, or
// kNoId: a removed or merged-away record is never found.
RecId FindArtist(const char* name);
RecId FindAlbum(const char* album, const char* artist);
RecId FindAlbumBoth(const char* artistDashAlbum);  // "artist - album"
// FindSong also follows an alias of those names (records.h) when no live song holds them, to
// the live song it names (through at most kAliasHops aliases); `throughAlias` then says so.
// FindLiveSong never follows an alias. FollowAlias gives the live song an alias's target leads
// to (the target itself when live), or kNoId.
constexpr int kAliasHops = 4;
RecId FindSong(const char* title, const char* album, const char* artist,
               bool* throughAlias = nullptr);
RecId FollowAlias(RecId target);
RecId FindLiveSong(const char* title, const char* album, const char* artist);

// Single-field readers; kNoId (or empty texts) when the file or the record is missing.
RecId GetSongAlbum(RecId songId);
RecId GetSongArtist(RecId songId);
RecId GetAlbumArtist(RecId albumId);
// kind: 0 and 3 a song, 1 an album, anything else an artist. Outputs are 50-byte fields.
void GetSongInfo(RecId id, int kind, char* title, char* album, char* artist);

// Changes that can retire or move the ids of a resolved SongInfo (clearing, restoring, merging,
// renaming, removing: every committed Change) bump this count; whoever keeps a SongInfo across
// them compares it and resolves again. It counts this process's changes only: Hit looks the
// names up again itself.
uint32_t DatabaseChanges();
void NoteDatabaseChange();

// Empties the four record files at once after the user confirms. False when declined or when
// it failed (the user is then told why; nothing was changed).
bool ClearDatabase();

// Resolves a SongInfo whose texts are filled: ids, the counters, playTime and lastPlayed, read
// under the shared lock; then stores the track's path in its song record unless another
// process holds the lock. False when the lock could not be had (ids none, counters 0) or the
// path could not be stored.
bool FillSongInfo(SongInfo* info);
// Writes the album and artist ids of `info` into its song record where that holds none (older
// databases stored songs without them). False when the record could not be read or written.
bool MendSongIds(const SongInfo& info);
// Records one play under the exclusive lock: the names are resolved again, the missing artist,
// album and song records added and the song record's missing ids mended, then one HitRecord
// at the later of info->playTime and the last hit's time (stored back into info->playTime), and the
// song's lastPlayed. False when the play could not be recorded (the lock was busy, a write failed):
// no hit stays in the file, and calling it again later records the play once, without duplicating
// records.
bool Hit(SongInfo* info);
// Append one record at the position of its id (the count of whole records before it, so a
// torn record at the end is overwritten); each returns the new id, or kNoId when it could not
// be written. AddSong also stores the id in info->songId.
RecId AddArtist(const char* name);
RecId AddAlbum(const char* album, const char* artist);
RecId AddSong(SongInfo* info);
// Marks the song and its hit records deleted (their ids become kNoId; names and times stay),
// both files at once or neither. False when it failed or the song was already removed
// (LastIoError() says which); nothing changed then.
bool RemoveFromDatabase(RecId songId);
// Now, or the last whole hit record's time if that is later: play times never go backwards.
int32_t GetTimeNow();

}  // namespace spinox
