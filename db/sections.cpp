#include "db/sections.h"

#include <cerrno>
#include <memory>

#include "db/paths.h"

namespace spinox {

const SectionFile kSectionFiles[kSectionCount] = {
    {kHitFile, 16}, {kSongFile, 416}, {kArtistFile, 54}, {kAlbumFile, 104}};

namespace {

constexpr size_t kCopyChunk = 64 * 1024;

// Copies n bytes from the current position of `in` to `out`.
bool CopyBytes(File& in, File& out, int64_t n) {
  std::unique_ptr<unsigned char[]> buf(new unsigned char[kCopyChunk]);
  while (n > 0) {
    size_t part = n < static_cast<int64_t>(kCopyChunk) ? static_cast<size_t>(n) : kCopyChunk;
    if (!in.Read(buf.get(), part)) return NoteIoFailure("read", in.path());
    if (!out.Write(buf.get(), part)) return false;
    n -= static_cast<int64_t>(part);
  }
  return true;
}

bool WriteOneFile(File& in, const Sections& s, int i) {
  std::string path = FullPath(kSectionFiles[i].name);
  File out;
  if (!out.Open(path, "wb")) return NoteIoFailure("create", path);
  int64_t bytes = static_cast<int64_t>(s.count[i]) * static_cast<int64_t>(kSectionFiles[i].recSize);
  if (!in.Seek(s.offset[i])) return NoteIoFailure("read", in.path());
  return CopyBytes(in, out, bytes) && out.Flush() && out.Close();
}

}  // namespace

bool ReadSections(File& f, int64_t start, int64_t size, Sections* out) {
  int64_t pos = start;
  for (int i = 0; i < kSectionCount; ++i) {
    int32_t count;
    if (pos < 0 || pos > size - 4 || !f.Seek(pos) || !f.Read(&count, 4) || count < 0) return false;
    pos += 4;
    int64_t bytes = static_cast<int64_t>(count) * static_cast<int64_t>(kSectionFiles[i].recSize);
    if (bytes > size - pos) return false;
    out->offset[i] = pos;
    out->count[i] = static_cast<uint32_t>(count);
    pos += bytes;
  }
  out->end = pos;
  return true;
}

bool WriteSectionFiles(File& f, const Sections& s) {
  for (int i = 0; i < kSectionCount; ++i) {
    if (!WriteOneFile(f, s, i)) return false;
  }
  return true;
}

bool WriteSection(File& out, const SectionFile& file) {
  errno = 0;
  File in(FullPath(file.name), "rb");
  if (!in.IsOpen() && errno != ENOENT) return NoteIoFailure("read", FullPath(file.name));
  int64_t size = in.IsOpen() ? in.Size() : 0;
  if (size < 0) return false;
  int64_t count = size / static_cast<int64_t>(file.recSize);
  if (count > INT32_MAX) return false;
  int32_t count32 = static_cast<int32_t>(count);
  return out.Write(&count32, 4) && CopyBytes(in, out, count * static_cast<int64_t>(file.recSize));
}

}  // namespace spinox
