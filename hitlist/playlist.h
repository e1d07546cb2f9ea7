// Playlists made from the list on show: M3U files of the listed songs' files, for the player
// or for the user.
#pragma once
#include <cstdint>
#include <string>

#include "hitlist/hitlist.h"

namespace spinox {

enum PlaylistAction : int32_t { kEnqueue = 0, kPlay = 1, kSave = 2 };

// The temporary playlist handed to the player, in the data folder.
extern const char* const kTempPlaylist;  // "temphit.m3u"

// The M3U text of `count` items of a list of `type`: songs and the log in list order; albums
// and artists as every song of theirs in database order, each once. One path a line, each line
// ended by CR LF. False when the song file cannot be read.
bool PlaylistText(int32_t type, int32_t count, const HitListItem* items, std::string* text);

// Writes the playlist to `path` through a temporary file renamed over it. False when the song
// file cannot be read or the file cannot be written, with the reason in `why` when given; an
// existing file at `path` is then as it was.
bool WritePlaylist(const std::string& path, int32_t type, int32_t count, const HitListItem* items,
                   std::string* why = nullptr);

// Play (1), enqueue (0) or save (2) the list. For save `savePath` is the file the user chose,
// empty when the dialog was cancelled. An empty list or a cancelled save does nothing. False when
// the playlist could not be written, with the reason in `why` when given; the files and the
// player are then as they were.
bool MakePlaylist(int32_t action, int32_t type, int32_t count, const HitListItem* items,
                  const std::string& savePath, std::string* why = nullptr);

}  // namespace spinox
