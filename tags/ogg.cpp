// The comments of an Ogg file: the comment header packet of a Vorbis or Opus stream, or the
// Vorbis comment metadata block of a FLAC stream, followed across page boundaries.
#include "tags/ogg.h"

#include <algorithm>
#include <cstring>

#include "base/codepage.h"
#include "base/text.h"

namespace spinox {

namespace {

constexpr int kPageHeader = 27;
// The header packets of every stream come first in the file; a comment header that has not
// begun within this many pages is not there.
constexpr int kMaxHeaderPages = 64;
// Bytes of one comment looked at: the longest name, "=", and 49 characters of UTF-8.
constexpr size_t kCommentMax = 512;
// Comments read at most, whatever count the header announces.
constexpr uint32_t kMaxComments = 65536;
// The packets that hold comments begin with these bytes; the comments follow them.
const unsigned char kVorbisComments[7] = {0x03, 'v', 'o', 'r', 'b', 'i', 's'};
const unsigned char kOpusTags[8] = {'O', 'p', 'u', 's', 'T', 'a', 'g', 's'};
// A FLAC stream's first packet begins with this; each of its later header packets is one
// metadata block: a type byte (0x80 marks the last) and a 24-bit length.
const unsigned char kFlacMapping[5] = {0x7F, 'F', 'L', 'A', 'C'};
constexpr unsigned char kFlacVorbisComment = 4;
constexpr size_t kFlacBlockHeader = 4;

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

  // Finds the first comment packet among the leading pages and stands behind its magic.
  bool FindComments();
  // Copies (or, with a null dst, skips) up to n bytes; returns how many.
  uint64_t Read(unsigned char* dst, uint64_t n);
  bool ReadExact(unsigned char* dst, uint64_t n) { return Read(dst, n) == n; }

 private:
  // Sets the chunk to the packet's bytes in `page` from segment `seg` on.
  void StartChunk(const OggPage& page, int seg, int64_t at);
  bool NextPage();
  // Ends the packet where the file ends.
  void Stop() {
    left_ = 0;
    continues_ = false;
  }

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

// How many bytes lead the comments in a packet that begins with head[0..n-1]; 0 when it is
// not a comment packet. `flacSerial` is the stream of a FLAC mapping header seen so far (-1
// for none); it is set by one and cleared when that stream's metadata blocks end.
size_t CommentsStart(const unsigned char* head, size_t n, uint32_t serial, int64_t* flacSerial) {
  if (n >= sizeof kVorbisComments &&
      std::memcmp(head, kVorbisComments, sizeof kVorbisComments) == 0)
    return sizeof kVorbisComments;
  if (n >= sizeof kOpusTags && std::memcmp(head, kOpusTags, sizeof kOpusTags) == 0)
    return sizeof kOpusTags;
  if (n >= sizeof kFlacMapping && std::memcmp(head, kFlacMapping, sizeof kFlacMapping) == 0) {
    *flacSerial = serial;
    return 0;
  }
  if (*flacSerial != static_cast<int64_t>(serial) || n < kFlacBlockHeader) return 0;
  if ((head[0] & 0x7F) == kFlacVorbisComment) return kFlacBlockHeader;
  if (head[0] & 0x80 || head[0] == 0xFF) *flacSerial = -1;  // the last block, or audio
  return 0;
}

bool PacketReader::FindComments() {
  OggPage page;
  int64_t pos = 0;
  int64_t flacSerial = -1;
  for (int count = 0; count < kMaxHeaderPages && ParsePage(f_, pos, &page); ++count) {
    int64_t at = page.body;
    bool packetStarts = !page.continued;
    for (int seg = 0; seg < page.segments; ++seg) {
      unsigned char head[8];
      size_t n = page.lacing[seg] < sizeof head ? page.lacing[seg] : sizeof head;
      if (packetStarts && n > 0 && f_.Read(at, head, n)) {
        if (size_t skip = CommentsStart(head, n, page.serial, &flacSerial)) {
          StartChunk(page, seg, at);
          return Read(nullptr, skip) == skip;
        }
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
        Stop();
        return done + got;
      }
    } else if (static_cast<int64_t>(step) > f_.Size() - pos_) {
      Stop();
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

// One NAME=value comment; the names are compared without regard to case. True when it stored
// a text that is not empty.
bool ApplyComment(TrackTag* tag, const unsigned char* p, size_t n) {
  const void* eq = std::memchr(p, '=', n);
  if (!eq) return false;
  size_t nameLen = static_cast<size_t>(static_cast<const unsigned char*>(eq) - p);
  char(*field)[kNameSize] = nullptr;
  if (NameIs(p, nameLen, "TITLE"))
    field = &tag->title;
  else if (NameIs(p, nameLen, "ARTIST"))
    field = &tag->artist;
  else if (NameIs(p, nameLen, "ALBUM"))
    field = &tag->album;
  if (!field) return false;
  SetTagText(*field, DecodeUtf8(p + nameLen + 1, n - nameLen - 1));
  return (*field)[0] != '\0';
}

}  // namespace

int HasOGG(TagFile& f, TrackTag*) {
  unsigned char magic[3];
  return f.Read(0, magic, 3) && std::memcmp(magic, "Ogg", 3) == 0 ? 1 : 0;
}

int ReadOGG(TagFile& f, TrackTag* tag) {
  if (!HasOGG(f, tag)) return 0;
  PacketReader packet(f);
  unsigned char b[4];
  if (!packet.FindComments() || !packet.ReadExact(b, 4)) return 0;
  if (!packet.ReadExact(nullptr, LittleEndian32(b)) || !packet.ReadExact(b, 4)) return 0;
  uint32_t count = std::min(LittleEndian32(b), kMaxComments);
  unsigned char text[kCommentMax];
  bool gotText = false;
  for (uint32_t i = 0; i < count; ++i) {
    if (!packet.ReadExact(b, 4)) return gotText ? 1 : 0;
    uint32_t length = LittleEndian32(b);
    size_t want = length < kCommentMax ? length : kCommentMax;
    // A comment cut short by the end of its packet is dropped, not read in part.
    if (!packet.ReadExact(text, want) || !packet.ReadExact(nullptr, length - want))
      return gotText ? 1 : 0;
    gotText = ApplyComment(tag, text, want) || gotText;
  }
  return 1;
}

}  // namespace spinox
