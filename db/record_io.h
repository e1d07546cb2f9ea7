// Bulk access to the fixed-size record files, shared by the database operations. A record
// file is a run of whole records; a partial record at its end (a write cut short) is never
// read and is overwritten by the next append.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "base/file.h"
#include "db/records.h"

namespace spinox {

// Bytes read per chunk while scanning. Fewer, larger reads save system calls; past about half a
// megabyte the buffer falls out of the processor's cache and the scan slows again.
constexpr size_t kScanChunk = 512 * 1024;

// A name field (kNameSize bytes) as names compare: its text, ASCII capitals lowered.
std::string NameKey(const void* field);

// Number of whole records in an open file (its position is then at the start); 0 on failure.
RecId CountRecords(File& f, size_t recSize);

// Reads bytes [offset, offset + n) of a data file; false when the file is missing or shorter.
bool ReadAt(const std::string& name, int64_t offset, void* dst, size_t n);
// The two writes below take the database lock exclusively for their length (nested in the
// caller's, which holds it for a whole operation) and note a failure as LastIoError().

// Overwrites bytes of record `id` (from `offset` within it) of an existing data file, in place.
// Nothing is written when the record does not exist; false then or on a write failure.
bool WriteInRecord(const std::string& name, size_t recSize, RecId id, size_t offset,
                   const void* src, size_t n);
// Appends one whole record to a data file (created when missing) at the position of its id:
// the number of whole records before it. Writes `rec` after storing the id into its first 4
// bytes when `storeId` is set. Returns the id, or kNoId when the record could not be written;
// the file is then cut back to the records before it, so a failed append leaves nothing.
RecId AppendRecord(const std::string& name, void* rec, size_t recSize, bool storeId);

// Opens a data file for update; a missing file is created, an existing one is never emptied.
bool OpenForUpdate(const std::string& path, File* f);

// Calls visit(record bytes, index) for each whole record of an open file, in order, and stops
// at the first record for which it returns true. Returns that record's index, or kNoId.
template <typename Visit>
RecId ScanRecords(File& f, size_t recSize, Visit visit) {
  RecId count = CountRecords(f, recSize);
  size_t perChunk = kScanChunk / recSize;
  if (count < perChunk) perChunk = count;
  if (perChunk == 0) return kNoId;
  std::unique_ptr<unsigned char[]> buf(new unsigned char[perChunk * recSize]);
  for (RecId first = 0; first < count;) {
    size_t n = count - first < perChunk ? count - first : perChunk;
    if (!f.Read(buf.get(), n * recSize)) return kNoId;
    for (size_t i = 0; i < n; ++i) {
      if (visit(buf.get() + i * recSize, static_cast<RecId>(first + i))) return first + i;
    }
    first += static_cast<RecId>(n);
  }
  return kNoId;
}

}  // namespace spinox
