#include "db/record_io.h"

#include <cerrno>
#include <cstring>

#include "db/database.h"

namespace spinox {

RecId CountRecords(File& f, size_t recSize) {
  int64_t size = f.Size();
  if (size <= 0) return 0;
  int64_t count = size / static_cast<int64_t>(recSize);
  return count >= kNoId ? kNoId - 1 : static_cast<RecId>(count);
}

bool ReadAt(const std::string& name, int64_t offset, void* dst, size_t n) {
  File f(FullPath(name), "rb");
  int64_t size = f.Size();
  if (size < 0 || offset < 0 || offset > size || static_cast<int64_t>(n) > size - offset)
    return false;
  return f.Seek(offset) && f.Read(dst, n);
}

bool WriteInRecord(const std::string& name, size_t recSize, RecId id, size_t offset,
                   const void* src, size_t n) {
  File f(FullPath(name), "r+b");
  if (!f.IsOpen() || id >= CountRecords(f, recSize)) return false;
  int64_t pos = static_cast<int64_t>(id) * static_cast<int64_t>(recSize) + offset;
  return f.Seek(pos) && f.Write(src, n) && f.Flush();
}

namespace {

// Opens a data file for update; a missing file is created, an existing one is never emptied.
bool OpenForAppend(const std::string& path, File* f) {
  errno = 0;
  if (f->Open(path, "r+b")) return true;
  return errno == ENOENT && f->Open(path, "wb");
}

}  // namespace

RecId AppendRecord(const std::string& name, void* rec, size_t recSize, bool storeId) {
  File f;
  if (!OpenForAppend(FullPath(name), &f)) return kNoId;
  int64_t size = f.Size();
  if (size < 0) return kNoId;
  RecId id = CountRecords(f, recSize);
  if (id >= kNoId - 1) return kNoId;
  if (storeId) std::memcpy(rec, &id, sizeof id);
  int64_t pos = static_cast<int64_t>(id) * static_cast<int64_t>(recSize);
  if (!f.Seek(pos) || !f.Write(rec, recSize) || !f.Flush()) return kNoId;
  return id;
}

}  // namespace spinox
