// Carrying a database of an earlier version over to UTF-8 texts (db/text_encoding.h says how a
// folder's encoding is told).
//
// The conversion re-encodes every text field of the record files and of the settings file from
// the ANSI code page to UTF-8 (cut between characters to its field) and leaves every other byte
// as it is: ids, times, numbers, a torn tail, the bytes of a settings file that has no magic.
// It is one Change (db/journal.h) that also writes the marker, so a database is wholly old or
// wholly converted, and a backup of the old database is written first.
#pragma once
#include <cstddef>
#include <string>

#include "db/journal.h"

namespace spinox {

// A text field of a record: `width` bytes from `offset`, NUL-terminated.
struct TextSpan {
  size_t offset;
  size_t width;
  const char* name;
};

// The text fields of one data file, whose records are `recSize` bytes (the settings file is one
// record of 3766 bytes; the hit file has no texts).
struct TextLayout {
  const char* file;
  size_t recSize;
  const TextSpan* spans;
  size_t count;
};

// The song, album and artist files (the first kRecordLayouts), then the settings file.
constexpr int kRecordLayouts = 3;
enum TextLayoutIndex { kSongTexts, kAlbumTexts, kArtistTexts };
extern const TextLayout kTextLayouts[kRecordLayouts + 1];
const TextLayout& SettingsTextLayout();

// The marker's content: its first line, then the code page the texts came from.
std::string Utf8MarkerText();

// Re-encodes the text fields of one record in place: each is decoded from the ANSI code page
// and stored as UTF-8, cut between characters to its field and NUL-filled.
void ConvertRecordTexts(unsigned char* rec, const TextLayout& layout);

// Within an open Change: re-encodes every whole record of a record file (staged as a copy by
// this call), or the text fields of a settings file that has the magic. A missing file is left
// missing. False (the change then fails) when anything could not be read or written.
bool ConvertFileTexts(Change& change, const TextLayout& layout);

// The same for a file the change has staged already (a restore's or an old database's
// records).
bool ConvertStagedTexts(Change& change, const TextLayout& layout);

// True when the marker is in the folder (a folder without a database has none yet).
bool MarkerPresent();

// Within an open Change: stages and writes the marker.
bool WriteUtf8Marker(Change& change);

enum class TextConversion {
  kUtf8,       // the folder was UTF-8 already (the marker written if it was missing)
  kConverted,  // an earlier version's database was converted; a backup was made first
  kFailed,     // busy, or a step failed (LastIoError()); nothing changed, still ANSI
};

// Makes sure the folder's texts are UTF-8 before anything writes to it: converts an earlier
// version's database (backup first, then one Change with the marker), or writes the marker into
// a folder that has no database yet. `backup` receives the backup's path when one was made.
TextConversion EnsureUtf8Database(std::string* backup = nullptr);

}  // namespace spinox
