// ID3v2 tags (layouts 2.2, 2.3 and 2.4): title, artist and album from their text frames.
// What writers do to a frame is undone before its text is read: unsynchronisation of the whole
// tag (2.2, 2.3) or of single frames (2.4), grouping and data-length bytes, zlib compression.
// Encrypted frames are dropped, and so is a frame that runs past the end of its tag. ID3v1
// trailers fill what the ID3v2 tag left empty.
#include "tags/id3.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "base/codepage.h"
#include "base/text.h"
#include "tags/inflate.h"

namespace spinox {

namespace {

constexpr int kHeaderSize = 10;
constexpr int kId3v1Size = 128;
constexpr int kId3v1Field = 30;
constexpr unsigned char kTagUnsync = 0x80;
constexpr unsigned char kTagExtended = 0x40;
// Bytes of a text frame's decoded content looked at: 49 characters take at most 4 bytes each
// in any encoding.
constexpr size_t kFrameTextMax = 512;
// Stored bytes of an uncompressed text frame read at most: the text, doubled for the bytes
// that unsynchronisation may insert, and the bytes ahead of it.
constexpr size_t kFrameReadMax = 2 * kFrameTextMax + 16;
// A compressed text frame is read whole; one larger than this, or inflating to more, is dropped.
constexpr size_t kCompressedMax = 65536;
constexpr size_t kInflatedMax = 65536;

// How one version lays out its frame headers.
struct FrameLayout {
  int idSize;
  int headerSize;
  int sizeBytes;
  bool synchsafe;
  const char* ids[3];  // title, artist, album
};

const FrameLayout kLayout22 = {3, 6, 3, false, {"TT2", "TP1", "TAL"}};
const FrameLayout kLayout23 = {4, 10, 4, false, {"TIT2", "TPE1", "TALB"}};
const FrameLayout kLayout24 = {4, 10, 4, true, {"TIT2", "TPE1", "TALB"}};

const FrameLayout& LayoutFor(int version) {
  if (version <= 2) return kLayout22;
  return version == 3 ? kLayout23 : kLayout24;
}

struct TagHeader {
  int version;
  unsigned char flags;
};

struct FrameHeader {
  unsigned char id[4];
  uint32_t size;
  unsigned char format;  // the second flag byte (2.3 and 2.4)
};

using NameField = char (*)[kNameSize];

NameField FieldFor(TrackTag* tag, const FrameLayout& layout, const unsigned char* id) {
  NameField fields[3] = {&tag->title, &tag->artist, &tag->album};
  for (int i = 0; i < 3; ++i) {
    if (std::memcmp(id, layout.ids[i], layout.idSize) == 0) return fields[i];
  }
  return nullptr;
}

// The bytes of a tag from `pos` up to `end` (or the end of the file), in order. With
// unsynchronisation on, a zero byte that follows 0xFF was inserted by the writer and is left out.
class TagStream {
 public:
  TagStream(TagFile& f, int64_t pos, int64_t end, bool unsync)
      : f_(f), pos_(pos), end_(end < f.Size() ? end : f.Size()), unsync_(unsync) {}
  // Copies (or, with a null dst, skips) up to n bytes; returns how many: fewer where the tag or
  // the file ends.
  uint64_t Read(unsigned char* dst, uint64_t n);
  bool ReadExact(unsigned char* dst, uint64_t n) { return Read(dst, n) == n; }
  bool Skip(uint64_t n) { return Read(nullptr, n) == n; }

 private:
  bool Refill();

  TagFile& f_;
  int64_t pos_;  // the next byte of the file not yet taken
  int64_t end_;
  bool unsync_;
  bool afterFF_ = false;
  unsigned char buf_[4096];
  size_t bufPos_ = 0, bufLen_ = 0;
};

uint64_t TagStream::Read(unsigned char* dst, uint64_t n) {
  if (!unsync_) {
    uint64_t left = pos_ < end_ ? static_cast<uint64_t>(end_ - pos_) : 0;
    uint64_t step = n < left ? n : left;
    if (dst && step > 0 && !f_.Read(pos_, dst, static_cast<size_t>(step))) return 0;
    pos_ += static_cast<int64_t>(step);
    return step;
  }
  uint64_t done = 0;
  while (done < n) {
    if (bufPos_ == bufLen_ && !Refill()) break;
    unsigned char b = buf_[bufPos_++];
    bool inserted = afterFF_ && b == 0;
    afterFF_ = b == 0xFF;
    if (inserted) continue;
    if (dst) dst[done] = b;
    ++done;
  }
  return done;
}

bool TagStream::Refill() {
  if (pos_ >= end_) return false;
  size_t want = sizeof buf_;
  if (end_ - pos_ < static_cast<int64_t>(want)) want = static_cast<size_t>(end_ - pos_);
  if (!f_.Read(pos_, buf_, want)) return false;
  pos_ += static_cast<int64_t>(want);
  bufPos_ = 0;
  bufLen_ = want;
  return true;
}

// Removes the zero bytes that follow 0xFF; returns the new length.
size_t RemoveUnsync(unsigned char* p, size_t n) {
  size_t out = 0;
  bool afterFF = false;
  for (size_t i = 0; i < n; ++i) {
    unsigned char b = p[i];
    bool inserted = afterFF && b == 0;
    afterFF = b == 0xFF;
    if (!inserted) p[out++] = b;
  }
  return out;
}

// What a frame's format flags ask of its content.
struct FrameCoding {
  size_t prefix = 0;  // bytes ahead of the data: decompressed size, group, method, data length
  bool encrypted = false;
  bool compressed = false;
  bool unsync = false;  // undone frame by frame (2.4)
};

FrameCoding CodingOf(const TagHeader& tag, unsigned char format) {
  FrameCoding c;
  if (tag.version == 3) {  // %ijk00000: compressed, encrypted, grouped
    c.compressed = (format & 0x80) != 0;
    c.encrypted = (format & 0x40) != 0;
    c.prefix = (c.compressed ? 4 : 0) + (c.encrypted ? 1 : 0) + ((format & 0x20) ? 1 : 0);
  } else if (tag.version >= 4) {  // %0h00kmnp: grouped, compressed, encrypted, unsync, length
    c.compressed = (format & 0x08) != 0;
    c.encrypted = (format & 0x04) != 0;
    c.unsync = (format & 0x02) != 0 || (tag.flags & kTagUnsync) != 0;
    // Compression needs the data length; writers that set only the compression flag still
    // write it.
    bool dataLength = (format & 0x01) != 0 || c.compressed;
    c.prefix = ((format & 0x40) ? 1 : 0) + (c.encrypted ? 1 : 0) + (dataLength ? 4 : 0);
  }
  return c;
}

enum class FrameResult { kText, kDropped, kEndOfTag };

// Reads a wanted frame's content and undoes its coding: *data holds the encoding byte and the
// text (possibly only their first bytes).
FrameResult ReadFrameData(TagStream& s, const TagHeader& tag, const FrameHeader& h,
                          std::vector<unsigned char>* data) {
  FrameCoding c = CodingOf(tag, h.format);
  size_t keep = c.compressed ? kCompressedMax + c.prefix : kFrameReadMax;
  if (c.encrypted || (c.compressed && h.size > keep))
    return s.Skip(h.size) ? FrameResult::kDropped : FrameResult::kEndOfTag;
  size_t want = h.size < keep ? h.size : keep;
  data->resize(want);
  if (!s.ReadExact(data->data(), want) || !s.Skip(h.size - want)) return FrameResult::kEndOfTag;
  if (want < c.prefix) return FrameResult::kDropped;
  data->erase(data->begin(), data->begin() + static_cast<std::ptrdiff_t>(c.prefix));
  if (c.unsync) data->resize(RemoveUnsync(data->data(), data->size()));
  if (c.compressed) {
    std::vector<unsigned char> plain;
    if (ZlibInflate(data->data(), data->size(), kInflatedMax, &plain) != InflateResult::kOk)
      return FrameResult::kDropped;
    data->swap(plain);
  }
  return FrameResult::kText;
}

// A text frame's value as UTF-8: the text up to its first terminator. Encoding 0 is read from
// the ANSI code page: Windows taggers write that there, not strict ISO-8859-1 (and so does an
// unknown encoding byte).
void StoreText(const std::vector<unsigned char>& data, char (&field)[kNameSize]) {
  if (data.empty()) {
    std::memset(field, 0, kNameSize);
    return;
  }
  int encoding = data[0];
  const unsigned char* p = data.data() + 1;
  size_t n = std::min(data.size() - 1, kFrameTextMax);
  if (encoding < 1 || encoding > 3) {
    SetAnsiTagText(field, p, n);
    return;
  }
  std::u32string text = encoding == 3 ? DecodeUtf8(p, n) : DecodeUtf16(p, n, encoding == 2);
  if (!text.empty() && text[0] == 0xFEFF) text.erase(0, 1);  // a byte order mark in UTF-8
  SetTagText(field, text);
}

// Skips the extended header; false when it does not fit the tag.
bool SkipExtendedHeader(TagStream& s, const TagHeader& tag) {
  if (tag.version <= 2 || !(tag.flags & kTagExtended)) return true;
  unsigned char b[4];
  if (!s.ReadExact(b, 4)) return false;
  if (tag.version == 3) return s.Skip(BigEndian(b, 4));  // its size leaves out these 4 bytes
  uint32_t size = Synchsafe(b, 4);                       // counts them
  return s.Skip(size < 4 ? 0 : size - 4);
}

// The next frame's header; false at the end of the tag and at the padding behind the frames.
bool NextFrame(TagStream& s, const FrameLayout& layout, FrameHeader* fh) {
  unsigned char h[10];
  if (!s.ReadExact(h, static_cast<uint64_t>(layout.headerSize)) || h[0] == 0) return false;
  std::memcpy(fh->id, h, static_cast<size_t>(layout.idSize));
  const unsigned char* size = h + layout.idSize;
  fh->size =
      layout.synchsafe ? Synchsafe(size, layout.sizeBytes) : BigEndian(size, layout.sizeBytes);
  fh->format = layout.headerSize == 10 ? h[9] : 0;
  return true;
}

}  // namespace

int HasId3v2(TagFile& f, TrackTag* tag) {
  unsigned char h[kHeaderSize];
  if (!f.Read(0, h, sizeof h) || std::memcmp(h, "ID3", 3) != 0) return 0;
  tag->id3Version = h[3];
  tag->id3ExtHeader = (h[5] & kTagExtended) ? 1 : 0;
  tag->id3End = static_cast<int32_t>(Synchsafe(h + 6, 4)) + kHeaderSize;
  return 1;
}

int ReadId3v2(TagFile& f, TrackTag* tag) {
  unsigned char flags;
  if (!HasId3v2(f, tag) || !f.Read(5, &flags, 1)) return 0;
  TagHeader header = {tag->id3Version, flags};
  const FrameLayout& layout = LayoutFor(header.version);
  // 2.2 and 2.3 unsynchronise the whole tag, frame headers included; 2.4 frame by frame.
  bool wholeUnsync = (flags & kTagUnsync) != 0 && header.version <= 3;
  TagStream s(f, kHeaderSize, tag->id3End, wholeUnsync);
  bool gotText = false;
  FrameHeader fh;
  std::vector<unsigned char> data;
  for (bool more = SkipExtendedHeader(s, header); more && NextFrame(s, layout, &fh);) {
    NameField field = FieldFor(tag, layout, fh.id);
    if (!field) {
      more = s.Skip(fh.size);
      continue;
    }
    FrameResult r = ReadFrameData(s, header, fh, &data);
    more = r != FrameResult::kEndOfTag;
    if (r == FrameResult::kText) {
      StoreText(data, *field);
      gotText = gotText || (*field)[0] != '\0';
    }
  }
  // A tag the file holds whole counts even without texts; one cut short only by what it gave.
  return tag->id3End <= f.Size() || gotText ? 1 : 0;
}

int HasId3v1(TagFile& f, TrackTag*) {
  unsigned char magic[3];
  if (f.Size() < kId3v1Size || !f.Read(f.Size() - kId3v1Size, magic, 3)) return 0;
  return std::memcmp(magic, "TAG", 3) == 0 ? 1 : 0;
}

void ReadId3v1(TagFile& f, TrackTag* tag) {
  if (!HasId3v1(f, tag)) return;
  unsigned char trailer[kId3v1Size];
  if (!f.Read(f.Size() - kId3v1Size, trailer, kId3v1Size)) return;
  NameField fields[3] = {&tag->title, &tag->artist, &tag->album};
  for (int i = 0; i < 3; ++i) {
    if ((*fields[i])[0] != '\0') continue;
    SetAnsiTagText(*fields[i], trailer + 3 + i * kId3v1Field, kId3v1Field);
  }
}

}  // namespace spinox
