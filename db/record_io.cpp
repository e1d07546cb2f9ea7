#include "db/record_io.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "base/replace_file.h"
#include "base/text.h"
#include "db/lock.h"
#include "db/paths.h"

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

namespace {

// A read-only record file is never written, by any process (as on Windows, where none can).
bool Writable(const std::string& path) {
  std::string refusal = ReplaceRefusal(path);
  if (refusal.empty()) return true;
  SetIoError("cannot write '" + path + "': " + refusal);
  return false;
}

}  // namespace

bool WriteInRecord(const std::string& name, size_t recSize, RecId id, size_t offset,
                   const void* src, size_t n) {
  DatabaseLock lock(LockKind::kExclusive);
  if (!lock.held()) return false;
  std::string path = FullPath(name);
  if (!Writable(path)) return false;
  File f;
  if (!f.Open(path, "r+b")) return NoteIoFailure("open", path);
  if (id >= CountRecords(f, recSize)) {
    SetIoError("'" + path + "' holds no record " + std::to_string(id));
    return false;
  }
  int64_t pos = static_cast<int64_t>(id) * static_cast<int64_t>(recSize) + offset;
  if (!f.Seek(pos)) return NoteIoFailure("seek in", path);
  return f.Write(src, n) && f.Flush() && f.Close();
}

bool OpenForUpdate(const std::string& path, File* f) {
  if (!Writable(path)) return false;
  errno = 0;
  if (f->Open(path, "r+b")) return true;
  if (errno == ENOENT && f->Open(path, "wb")) return true;
  return NoteIoFailure("open", path);
}

RecId AppendRecord(const std::string& name, void* rec, size_t recSize, bool storeId) {
  DatabaseLock lock(LockKind::kExclusive);
  File f;
  if (!lock.held() || !OpenForUpdate(FullPath(name), &f)) return kNoId;
  int64_t size = f.Size();
  if (size < 0) return NoteIoFailure("read", f.path()), kNoId;
  RecId id = CountRecords(f, recSize);
  if (id >= kNoId - 1) return SetIoError("'" + f.path() + "' is full"), kNoId;
  if (storeId) std::memcpy(rec, &id, sizeof id);
  int64_t pos = static_cast<int64_t>(id) * static_cast<int64_t>(recSize);
  if (f.Seek(pos) && f.Write(rec, recSize) && f.Flush() && f.Close()) return id;
  // Whatever part of the record reached the file goes again; when even that fails, the part
  // is a torn tail or a whole record that the caller's retry finds (by name, or by its slot).
  std::string error = LastIoError();
  if (f.IsOpen() || f.Open(f.path(), "r+b")) f.Truncate(pos);
  SetIoError(error);
  return kNoId;
}

std::string NameKey(const void* field) {
  std::string key = FieldText(static_cast<const char*>(field), kNameSize);
  MakeLower(key.data());
  return key;
}

}  // namespace spinox
