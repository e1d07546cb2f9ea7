// Playlists made from the list on show: M3U files of the listed songs' files, for the player
// or for the user. A playlist named .m3u8 is written in UTF-8 (without a byte order mark); any
// other (.m3u) in the form the player reads: the ANSI code page, a path the code page cannot
// hold as its short name, or failing that in UTF-8 (and the writer is told).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "hitlist/hitlist.h"

namespace spinox {

enum PlaylistAction : int32_t { kEnqueue = 0, kPlay = 1, kSave = 2 };

// The temporary playlists handed to the player, in the data folder: the UTF-8 one, and the
// same list in the ANSI code page for an older player.
extern const char* const kTempPlaylist;      // "temphit.m3u8"
extern const char* const kTempAnsiPlaylist;  // "temphit.m3u"

// The M3U text (UTF-8) of `count` items of a list of `type`: songs and the log in list order;
// albums and artists as every song of theirs in database order, each once. One path a line, each
// line ended by CR LF. False when the song file cannot be read.
bool PlaylistText(int32_t type, int32_t count, const HitListItem* items, std::string* text);

// Writes the playlist to `path` through a temporary file renamed over it, in the form its
// extension asks for. False when the song file cannot be read or the file cannot be written,
// with the reason in `why` when given; an existing file at `path` is then as it was. `note`,
// when given, is set when an .m3u holds paths its readers cannot open (left in UTF-8).
bool WritePlaylist(const std::string& path, int32_t type, int32_t count, const HitListItem* items,
                   std::string* why = nullptr, std::string* note = nullptr);

// The entries of an .m3u or .m3u8 playlist's text in UTF-8: a leading byte order mark, empty
// and comment (#) lines skipped; a line that is not UTF-8 read from the ANSI code page (an .m3u
// is in it, but Spinox writes a path it cannot hold in UTF-8); a relative path joined to
// `folder`, the playlist's own.
std::vector<std::string> PlaylistEntries(const std::string& text, const std::string& folder);

// Play (1), enqueue (0) or save (2) the list. For save `savePath` is the file the user chose,
// empty when the dialog was cancelled; `note` as for WritePlaylist. Play and enqueue hand the
// player the UTF-8 playlist, or the ANSI one when it does not take that. An empty list or a
// cancelled save does nothing. False when the playlist could not be written, with the reason in
// `why` when given; the player is then as it was.
bool MakePlaylist(int32_t action, int32_t type, int32_t count, const HitListItem* items,
                  const std::string& savePath, std::string* why = nullptr,
                  std::string* note = nullptr);

}  // namespace spinox
