// Vorbis comments of an Ogg file: the comment header packet, followed across page boundaries.
#include <cstring>

#include "base/codepage.h"
#include "base/text.h"
#include "tags/tag_io.h"
#include "tags/track_tag.h"

namespace spinox {

namespace {

constexpr int kPageHeader = 27;
// The header packets of every stream come first in the file; a comment header that has not
// begun within this many pages is not there.
constexpr int kMaxHeaderPages = 64;
// Bytes of one comment looked at: the longest name, "=", and 49 characters of UTF-8.
constexpr size_t kCommentMax = 512;
const unsigned char kCommentMagic[7] = {0x03, 'v', 'o', 'r', 'b', 'i', 's'};

struct OggPage {
  int64_t body = 0;  // offset of the first segment's bytes
  int64_t next = 0;  // offset of the following page
  uint32_t serial = 0;
  bool continued = false;  // the first segment continues a packet of the previous page
  int segments = 0;
  unsigned char lacing[255] = {};
};

bool ParsePage(TagFile& f, int64_t pos, OggPage* page) {
  unsigned char h[kPageHeader];
  if (!f.Read(pos, h, kPageHeader) || std::memcmp(h, "OggS", 4) != 0) return false;
  page->continued = (h[5] & 0x01) != 0;
  page->serial = LittleEndian32(h + 14);
  page->segments = h[26];
  if (!f.Read(pos + kPageHeader, page->lacing, page->segments)) return false;
  int64_t bodySize = 0;
  for (int i = 0; i < page->segments; ++i) bodySize += page->lacing[i];
  page->body = pos + kPageHeader + page->segments;
  page->next = page->body + bodySize;
  return true;
}

// The bytes of one packet in order, from the page where it begins through the pages of the
// same stream that continue it. Reads stop at the packet's end and at the end of the file.
class PacketReader {
 public:
  explicit PacketReader(TagFile& f) : f_(f) {}

  // Finds the first packet among the leading pages that begins with `magic` and stands
  // behind it.
  bool Find(const unsigned char* magic, size_t n);
  // Copies (or, with a null dst, skips) up to n bytes; returns how many.
  uint64_t Read(unsigned char* dst, uint64_t n);
  bool ReadExact(unsigned char* dst, uint64_t n) { return Read(dst, n) == n; }

 private:
  // Sets the chunk to the packet's bytes in `page` from segment `seg` on.
  void StartChunk(const OggPage& page, int seg, int64_t at);
  bool NextPage();

  TagFile& f_;
  uint32_t serial_ = 0;
  int64_t pos_ = 0;         // next byte of the packet
  uint64_t left_ = 0;       // bytes of the packet left in the current page
  bool continues_ = false;  // the packet goes on in a later page
  int64_t nextPage_ = 0;
};

void PacketReader::StartChunk(const OggPage& page, int seg, int64_t at) {
  serial_ = page.serial;
  pos_ = at;
  left_ = 0;
  continues_ = true;
  for (int i = seg; i < page.segments && continues_; ++i) {
    left_ += page.lacing[i];
    continues_ = page.lacing[i] == 255;
  }
  nextPage_ = page.next;
}

bool PacketReader::Find(const unsigned char* magic, size_t n) {
  OggPage page;
  int64_t pos = 0;
  for (int count = 0; count < kMaxHeaderPages && ParsePage(f_, pos, &page); ++count) {
    int64_t at = page.body;
    bool packetStarts = !page.continued;
    for (int seg = 0; seg < page.segments; ++seg) {
      unsigned char head[16];
      if (packetStarts && page.lacing[seg] >= n && f_.Read(at, head, n) &&
          std::memcmp(head, magic, n) == 0) {
        StartChunk(page, seg, at);
        return Read(nullptr, n) == n;
      }
      packetStarts = page.lacing[seg] < 255;
      at += page.lacing[seg];
    }
    pos = page.next;
  }
  return false;
}

bool PacketReader::NextPage() {
  OggPage page;
  for (int64_t pos = nextPage_; ParsePage(f_, pos, &page); pos = page.next) {
    if (page.serial != serial_) continue;
    if (!page.continued) return false;
    StartChunk(page, 0, page.body);
    return true;
  }
  return false;
}

uint64_t PacketReader::Read(unsigned char* dst, uint64_t n) {
  uint64_t done = 0;
  while (done < n) {
    if (left_ == 0 && !(continues_ && NextPage())) break;
    uint64_t step = n - done < left_ ? n - done : left_;
    if (dst) {
      size_t got = f_.ReadSome(pos_, dst + done, static_cast<size_t>(step));
      if (got < step) {
        left_ = 0, continues_ = false;
        return done + got;
      }
    } else if (static_cast<int64_t>(step) > f_.Size() - pos_) {
      left_ = 0, continues_ = false;
      return done;
    }
    pos_ += static_cast<int64_t>(step);
    left_ -= step;
    done += step;
  }
  return done;
}

bool NameIs(const unsigned char* p, size_t n, const char* name) {
  if (n != std::strlen(name)) return false;
  for (size_t i = 0; i < n; ++i) {
    unsigned char c = p[i];
    if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 0x20);
    if (c != static_cast<unsigned char>(name[i])) return false;
  }
  return true;
}

// One NAME=value comment; the names are compared without regard to case.
void ApplyComment(TrackTag* tag, const unsigned char* p, size_t n) {
  const void* eq = std::memchr(p, '=', n);
  if (!eq) return;
  size_t nameLen = static_cast<size_t>(static_cast<const unsigned char*>(eq) - p);
  char(*field)[kNameSize] = nullptr;
  if (NameIs(p, nameLen, "TITLE"))
    field = &tag->title;
  else if (NameIs(p, nameLen, "ARTIST"))
    field = &tag->artist;
  else if (NameIs(p, nameLen, "ALBUM"))
    field = &tag->album;
  if (field) SetTagText(*field, DecodeUtf8(p + nameLen + 1, n - nameLen - 1));
}

}  // namespace

int HasOGG(TagFile& f, TrackTag*) {
  unsigned char magic[3];
  return f.Read(0, magic, 3) && std::memcmp(magic, "Ogg", 3) == 0 ? 1 : 0;
}

int HasOGG(TrackTag* tag) {
  TagFile f(FieldText(tag->file));
  return HasOGG(f, tag);
}

void ReadOGG(TrackTag* tag) {
  TagFile f(FieldText(tag->file));
  ReadOGG(f, tag);
}

void ReadOGG(TagFile& f, TrackTag* tag) {
  if (!HasOGG(f, tag)) return;
  PacketReader packet(f);
  unsigned char b[4];
  if (!packet.Find(kCommentMagic, sizeof kCommentMagic) || !packet.ReadExact(b, 4)) return;
  if (!packet.ReadExact(nullptr, LittleEndian32(b)) || !packet.ReadExact(b, 4)) return;
  uint32_t count = LittleEndian32(b);
  unsigned char text[kCommentMax];
  for (uint32_t i = 0; i < count && packet.ReadExact(b, 4); ++i) {
    uint32_t length = LittleEndian32(b);
    size_t want = length < kCommentMax ? length : kCommentMax;
    size_t got = static_cast<size_t>(packet.Read(text, want));
    ApplyComment(tag, text, got);
    if (got < want || !packet.ReadExact(nullptr, length - want)) return;
  }
}

}  // namespace spinox
