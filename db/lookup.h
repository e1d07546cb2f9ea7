// Finding records by their names, and reading single fields of a record.
#pragma once
#include "db/records.h"

namespace spinox {

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

}  // namespace spinox
