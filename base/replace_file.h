// Replacing a file in one step, so that a crash or a full disk never leaves it half written.
#pragma once
#include <cstddef>
#include <string>

namespace spinox {

// The temporary file a replacement of `path` is written to first.
std::string TempPathFor(const std::string& path);

// Renames `from` over `to`, replacing an existing `to`; false when it could not be done (both
// files are then as they were). A failure is noted as LastIoError().
bool RenameOver(const std::string& from, const std::string& to);

// Removes a file; true when it is gone (a missing file included).
bool RemoveFile(const std::string& path);

// Asks the system to put a folder's entries (names created, renamed, removed) on the disk.
// Windows writes them through on each rename, so there it does nothing.
bool SyncFolder(const std::string& dir);

// Why `path` cannot be replaced, or empty when it can: a folder, pipe or device is there, or a
// file without write permission for anyone (read-only, as Windows treats it, even for root).
std::string ReplaceRefusal(const std::string& path);

// Writes the bytes to TempPathFor(path), puts them on the disk and renames the file over
// `path`. False when anything fails (noted as LastIoError(), and the reason in plain words in
// `why` when given); `path` is then untouched and the temporary file removed.
bool WriteFileReplacing(const std::string& path, const void* data, size_t n,
                        std::string* why = nullptr);

}  // namespace spinox
