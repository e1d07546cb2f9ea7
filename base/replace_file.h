// Replacing a file in one step, so that a crash or a full disk never leaves it half written.
#pragma once
#include <cstddef>
#include <string>

namespace spinox {

// The temporary file a replacement of `path` is written to first.
std::string TempPathFor(const std::string& path);

// Renames `from` over `to`, replacing an existing `to`; false when it could not be done (both
// files are then as they were).
bool RenameOver(const std::string& from, const std::string& to);

// Writes the bytes to TempPathFor(path), flushes them and renames the file over `path`. False
// when anything fails; `path` is then untouched and the temporary file removed.
bool WriteFileReplacing(const std::string& path, const void* data, size_t n);

}  // namespace spinox
