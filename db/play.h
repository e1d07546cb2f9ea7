// Resolving a track against the record files, recording its plays, adding and removing songs.
// Nothing is cached; the files are the only state.
#pragma once
#include <cstdint>

#include "db/records.h"

namespace spinox {

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
