// Shared by the tag readers: bounded access to a track file's bytes and the storing of texts.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/file.h"
#include "db/records.h"

namespace spinox {

// Random access to a file through cached windows, so that walking small headers costs no
// system call each. The file's head and last bytes are read when it is opened (every reader
// looks there first); a short file is read whole. Every read is checked against the file's
// size: nothing past the end is ever returned. One TagFile serves every reader of a file.
class TagFile {
 public:
  explicit TagFile(const std::string& path);
  // The bytes of a file already in memory (copied).
  TagFile(const unsigned char* data, size_t n);
  bool IsOpen() const { return size_ >= 0; }
  int64_t Size() const { return size_; }
  // Copies exactly n bytes at pos; false when they are not all inside the file.
  bool Read(int64_t pos, void* dst, size_t n);
  // Copies up to n bytes at pos, fewer at the end of the file; returns how many.
  size_t ReadSome(int64_t pos, void* dst, size_t n);

 private:
  bool Fill(int64_t pos, size_t n);
  bool ReadAt(int64_t pos, void* dst, size_t n);

  File file_;
  int64_t size_ = -1;
  int64_t base_ = 0;   // file offset of window_[0]
  size_t filled_ = 0;  // bytes of window_ that hold the file's bytes
  std::vector<unsigned char> window_;
  int64_t endBase_ = -1;    // file offset of end_, -1 when the file was read whole
  unsigned char end_[128];  // the file's last bytes, where an ID3v1 trailer sits
};

// Stores decoded text in a name field as UTF-8: whole characters only, at most kNameSize - 1
// bytes, NUL-filled. Code points that are not characters (surrogates, past U+10FFFF) become
// U+FFFD, so the field always holds well-formed UTF-8.
void SetTagText(char (&field)[kNameSize], const std::u32string& text);
// The same for bytes in the ANSI code page (ID3v1, ID3v2 encoding 0), up to the first NUL.
void SetAnsiTagText(char (&field)[kNameSize], const unsigned char* p, size_t n);

uint32_t BigEndian(const unsigned char* p, int n);
uint32_t LittleEndian32(const unsigned char* p);
// Seven bits per byte, most significant byte first (ID3v2 "synchsafe" numbers).
uint32_t Synchsafe(const unsigned char* p, int n);

}  // namespace spinox
