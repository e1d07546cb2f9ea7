// Backup files: the four record files in one file, "SPINOXv1.5" header ("UTF-8" in bytes
// 11..15 when the texts are UTF-8), then the hit, song, artist and album sections.
// docs/backup-format.md describes the layout.
#pragma once
#include <cstdint>
#include <string>

#include "base/file.h"
#include "db/sections.h"

namespace spinox {

constexpr int kBackupHeaderSize = 16;

// The backup file name for a moment, in local time: "Spinox-Mar 03, 25,0907.bak".
std::string BackupFileName(int32_t when);

// Writes a backup of the current database beside the record files, named from ClockNow(). The
// file is written to a temporary file first, so a failed backup leaves no partial file and an
// earlier backup of the same minute as it was. The record files are read under the shared
// lock, so the backup never holds half of a change. Returns its full path, or "" on failure.
std::string BackupDatabase();

// Where the sections of a backup lie. False unless the whole file is one: the counts are not
// negative and the records they promise end exactly at the end of the file. The header's text
// is not examined.
bool ParseBackup(File& f, Sections* out);
// True when header bytes 11..15 say "UTF-8" (a backup of UTF-8 texts); otherwise its texts are
// in the ANSI code page.
bool BackupIsUtf8(File& f);

enum class RestoreResult {
  kRestored,
  kDeclined,     // No at the question
  kCancelled,    // no file chosen
  kUnreadable,   // the file could not be opened; nothing changed
  kNotBackup,    // the file is not a backup; nothing changed
  kWriteFailed,  // the new record files could not be written or switched in; nothing changed
  kBusy,         // another program holds the database lock; nothing changed
};

// Replaces the four record files by the backup's sections, all at once or not at all (a
// Change, db/journal.h). The whole file is checked first.
RestoreResult RestoreBackupFile(const std::string& path);

// The user's restore: the question, the choice of the file, the restore and the closing note,
// all through CurrentUser().
RestoreResult RestoreDatabase();

// The note shown after a restore that got as far as a chosen file; a failure's note ends with
// LastIoError() (the file and the reason).
std::string RestoreMessage(RestoreResult result);

}  // namespace spinox
