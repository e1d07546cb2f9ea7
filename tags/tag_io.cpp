#include "tags/tag_io.h"

#include <cstring>

#include "base/codepage.h"
#include "base/text.h"

namespace spinox {

namespace {

constexpr size_t kWindow = 16384;

}  // namespace

TagFile::TagFile(const std::string& path) {
  if (file_.Open(path, "rb")) size_ = file_.Size();
}

bool TagFile::Fill(int64_t pos, size_t n) {
  if (pos >= base_ && pos + static_cast<int64_t>(n) <= base_ + static_cast<int64_t>(window_.size()))
    return true;
  size_t want = n > kWindow ? n : kWindow;
  if (static_cast<int64_t>(want) > size_ - pos) want = static_cast<size_t>(size_ - pos);
  window_.resize(want);
  base_ = pos;
  if (!file_.Seek(pos) || !file_.Read(window_.data(), want)) {
    window_.clear();
    return false;
  }
  return want >= n;
}

bool TagFile::Read(int64_t pos, void* dst, size_t n) {
  if (size_ < 0 || pos < 0 || pos > size_ || static_cast<int64_t>(n) > size_ - pos) return false;
  if (n == 0) return true;
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
  std::string out;
  for (char32_t c : text) {
    std::string bytes = EncodeAnsi(std::u32string(1, c));
    if (out.size() + bytes.size() > kNameSize - 1) break;
    out += bytes;
  }
  SetField(field, out);
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
