#include "db/sections.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "base/replace_file.h"
#include "db/database.h"

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
    if (!in.Read(buf.get(), part) || !out.Write(buf.get(), part)) return false;
    n -= static_cast<int64_t>(part);
  }
  return true;
}

bool WriteOneTemp(File& in, const Sections& s, int i) {
  File out(TempPathFor(FullPath(kSectionFiles[i].name)), "wb");
  int64_t bytes = static_cast<int64_t>(s.count[i]) * static_cast<int64_t>(kSectionFiles[i].recSize);
  return out.IsOpen() && in.Seek(s.offset[i]) && CopyBytes(in, out, bytes) && out.Flush();
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

bool WriteSectionTemps(File& f, const Sections& s) {
  for (int i = 0; i < kSectionCount; ++i) {
    if (!WriteOneTemp(f, s, i)) {
      RemoveSectionTemps();
      return false;
    }
  }
  return true;
}

bool CommitSectionTemps() {
  for (const SectionFile& file : kSectionFiles) {
    std::string path = FullPath(file.name);
    if (!RenameOver(TempPathFor(path), path)) {
      RemoveSectionTemps();
      return false;
    }
  }
  return true;
}

void RemoveSectionTemps() {
  for (const SectionFile& file : kSectionFiles)
    std::remove(TempPathFor(FullPath(file.name)).c_str());
}

bool WriteSection(File& out, const SectionFile& file) {
  errno = 0;
  File in(FullPath(file.name), "rb");
  if (!in.IsOpen() && errno != ENOENT) return false;  // there, but unreadable
  int64_t size = in.IsOpen() ? in.Size() : 0;
  if (size < 0) return false;
  int64_t count = size / static_cast<int64_t>(file.recSize);
  if (count > INT32_MAX) return false;
  int32_t count32 = static_cast<int32_t>(count);
  return out.Write(&count32, 4) && CopyBytes(in, out, count * static_cast<int64_t>(file.recSize));
}

}  // namespace spinox
