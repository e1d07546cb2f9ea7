#include "tags/tag_io.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/codepage.h"
#include "base/text.h"

namespace spinox {

namespace {

constexpr size_t kWindow = 16384;
// Read at open: the head holds the ID3v2 header and usually its text frames, or the first Ogg
// pages; a file this short is read whole.
constexpr size_t kHead = 4096;

}  // namespace

TagFile::TagFile(const std::string& path) {
  if (!file_.Open(path, "rb")) return;
  FILE* f = file_.get();
  // Reads go straight into the windows: the stream needs no buffer of its own.
  std::setvbuf(f, nullptr, _IONBF, 0);
  window_.resize(kWindow);
  filled_ = std::fread(window_.data(), 1, kHead, f);
  if (std::ferror(f)) {
    filled_ = 0;
    return;
  }
  if (filled_ < kHead) {  // the end of the file was reached: the window holds all of it
    size_ = static_cast<int64_t>(filled_);
    return;
  }
  // The size comes from the open handle (not a seek and a 32-bit tell), so files past 2 GB
  // keep their ID3v1 trailer.
  int64_t size = file_.Size();
  int64_t at = size - static_cast<int64_t>(sizeof end_);
  if (size < static_cast<int64_t>(kHead) || !ReadAt(at, end_, sizeof end_)) return;
  endBase_ = at;
  size_ = size;
}

TagFile::TagFile(const unsigned char* data, size_t n)
    : size_(static_cast<int64_t>(n)), filled_(n), window_(data, data + n) {}

bool TagFile::ReadAt(int64_t pos, void* dst, size_t n) {
  return file_.Seek(pos) && file_.Read(dst, n);
}

bool TagFile::Fill(int64_t pos, size_t n) {
  if (pos >= base_ && pos + static_cast<int64_t>(n) <= base_ + static_cast<int64_t>(filled_))
    return true;
  size_t want = kWindow;
  if (static_cast<int64_t>(want) > size_ - pos) want = static_cast<size_t>(size_ - pos);
  base_ = pos;
  filled_ = 0;
  if (!ReadAt(pos, window_.data(), want)) return false;
  filled_ = want;
  return want >= n;
}

bool TagFile::Read(int64_t pos, void* dst, size_t n) {
  if (size_ < 0 || pos < 0 || pos > size_ || static_cast<int64_t>(n) > size_ - pos) return false;
  if (n == 0) return true;
  if (base_ == 0 && filled_ == static_cast<size_t>(size_)) {  // the window holds it all
    std::memcpy(dst, window_.data() + pos, n);
    return true;
  }
  if (endBase_ >= 0 && pos >= endBase_) {  // inside the last bytes, read at open
    std::memcpy(dst, end_ + (pos - endBase_), n);
    return true;
  }
  if (n > kWindow) return ReadAt(pos, dst, n);
  if (!Fill(pos, n)) return false;
  std::memcpy(dst, window_.data() + (pos - base_), n);
  return true;
}

size_t TagFile::ReadSome(int64_t pos, void* dst, size_t n) {
  if (size_ < 0 || pos < 0 || pos >= size_) return 0;
  if (static_cast<int64_t>(n) > size_ - pos) n = static_cast<size_t>(size_ - pos);
  return Read(pos, dst, n) ? n : 0;
}

void SetTagText(char (&field)[kNameSize], const std::u32string& text) {
  SetField(field, EncodeUtf8(text));
}

void SetAnsiTagText(char (&field)[kNameSize], const unsigned char* p, size_t n) {
  const unsigned char* end = std::find(p, p + n, 0);
  SetTagText(field, DecodeAnsi(std::string(p, end)));
}

uint32_t BigEndian(const unsigned char* p, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 8 | p[i];
  return v;
}

uint32_t LittleEndian32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint32_t Synchsafe(const unsigned char* p, int n) {
  uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 7 | (p[i] & 0x7F);
  return v;
}

}  // namespace spinox
