// Which encoding the stored texts of the data folder are in.
//
// Texts in the record files and the settings file are UTF-8 once the marker file
// gen_spinox.utf8 is in the data folder. Without it, a folder that holds any record file or a
// settings file was written by an earlier version and holds texts in the system's ANSI code page;
// such a database is converted once, all or nothing, and the marker is written in the same
// change. A folder with no database at all is taken as UTF-8 (its first change writes the
// marker). Readers that only look (spinox check, dump, charts) never convert: they read either
// encoding by the marker.
#pragma once
#include <string>

namespace spinox {

extern const char* const kUtf8MarkerFile;  // "gen_spinox.utf8"

enum class TextEncoding { kAnsi, kUtf8 };

// The encoding of the texts in the data folder (DataDir()), by the rule above. Reads only
// directory entries.
TextEncoding StoredTextEncoding();

// A stored text as UTF-8: as it is (malformed bytes made U+FFFD) when the folder is UTF-8,
// decoded from the ANSI code page otherwise.
std::string StoredTextAsUtf8(const std::string& text, TextEncoding encoding);

}  // namespace spinox
