// Conversion of the old single-file database: an earlier layout kept the four record sections
// in gen_spinox.dat after a skipped block. docs/backup-format.md describes the sections.
#pragma once
#include <string>

#include "base/file.h"
#include "db/sections.h"

namespace spinox {

// Where the record sections of an old database lie. False unless the whole file is one: the
// block length and the four counts fit the file's size exactly.
bool ParseOldDatabase(File& f, Sections* out);

enum class OldFormatResult {
  kConverted,     // the record files were rebuilt; gen_spinox.dat holds only the magic
  kSetAside,      // not an old database (or not convertible): renamed, record files untouched
  kNotConverted,  // could not be read or set aside; nothing changed
  kFailed,        // an old database whose conversion failed (LastIoError()); nothing changed
};

// Splits an old gen_spinox.dat into the four record files and leaves "SPX" and a NUL in
// gen_spinox.dat, all in one change (db/journal.h): the old file stays as it is until the new
// record files are in place, and a failure changes nothing. A file that is not wholly an old
// database is never converted: it is renamed by SetAsideName and the record files are left as
// they are.
OldFormatResult BreakDownOldVersionDatFile();

// The name an unusable file is kept under: `path` plus ".bad", or ".bad.N" when taken.
std::string SetAsideName(const std::string& path);

}  // namespace spinox
