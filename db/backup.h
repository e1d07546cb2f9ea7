// Backup files: the four record files in one file, "SPINOXv1.5" header, then the hit, song,
// artist and album sections. docs/backup-format.md describes the layout.
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
// earlier backup of the same minute as it was. Returns its full path, or "" on failure.
std::string BackupDatabase();

// Where the sections of a backup lie. False unless the whole file is one: the counts are not
// negative and the records they promise end exactly at the end of the file. The header's text
// is not examined.
bool ParseBackup(File& f, Sections* out);

enum class RestoreResult {
  kRestored,
  kDeclined,       // No at the question
  kCancelled,      // no file chosen
  kUnreadable,     // the file could not be opened; nothing changed
  kNotBackup,      // the file is not a backup; nothing changed
  kWriteFailed,    // the new record files could not be written; nothing changed
  kPartlyReplaced  // some record files could not be replaced after the others were
};

// Replaces the four record files by the backup's sections. The whole file is checked first;
// the records are written to temporary files and renamed into place only when all are written.
RestoreResult RestoreBackupFile(const std::string& path);

// The user's restore: the question, the choice of the file, the restore and the closing note,
// all through CurrentUser().
RestoreResult RestoreDatabase();

// The note shown after a restore that got as far as a chosen file.
std::string RestoreMessage(RestoreResult result);

}  // namespace spinox
