// ID3v1 trailers and ID3v2 tags (layouts 2.2, 2.3 and 2.4): title, artist and album.
#include <cstring>

#include "base/codepage.h"
#include "base/text.h"
#include "tags/tag_io.h"
#include "tags/track_tag.h"

namespace spinox {

namespace {

constexpr int kId3v1Size = 128;
constexpr int kId3v1Field = 30;
constexpr int kId3v2Header = 10;
// Bytes of a text frame looked at: 49 characters take at most 4 bytes each in any encoding.
constexpr size_t kFrameTextMax = 512;

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

using NameField = char (*)[kNameSize];

NameField FieldFor(TrackTag* tag, const FrameLayout& layout, const unsigned char* id) {
  NameField fields[3] = {&tag->title, &tag->artist, &tag->album};
  for (int i = 0; i < 3; ++i) {
    if (std::memcmp(id, layout.ids[i], layout.idSize) == 0) return fields[i];
  }
  return nullptr;
}

// A text frame's value: the text up to its first terminator in the frame's encoding.
std::u32string DecodeFrameText(int encoding, const unsigned char* p, size_t n) {
  switch (encoding) {
    case 1:
      return DecodeUtf16(p, n, false);
    case 2:
      return DecodeUtf16(p, n, true);
    case 3:
      return DecodeUtf8(p, n);
    default:
      return DecodeLatin1(p, n);
  }
}

// Stores the text of the frame whose content (encoding byte first) is `size` bytes at `pos`.
// A frame cut short by the end of the file gives what is there.
void StoreFrameText(TagFile& f, int64_t pos, uint32_t size, char (&field)[kNameSize]) {
  if (size <= 1) {
    std::memset(field, 0, kNameSize);
    return;
  }
  unsigned char encoding;
  if (!f.Read(pos, &encoding, 1)) return;
  unsigned char text[kFrameTextMax];
  size_t want = size - 1 < kFrameTextMax ? size - 1 : kFrameTextMax;
  size_t got = f.ReadSome(pos + 1, text, want);
  SetTagText(field, DecodeFrameText(encoding, text, got));
}

// Offset of the first frame, behind the extended header when there is one; -1 when the
// extended header cannot be read.
int64_t FirstFrame(TagFile& f, const TrackTag& tag) {
  if (tag.id3Version <= 2 || tag.id3ExtHeader != 1) return kId3v2Header;
  unsigned char b[4];
  if (!f.Read(kId3v2Header, b, 4)) return -1;
  if (tag.id3Version == 3) return kId3v2Header + 4 + static_cast<int64_t>(BigEndian(b, 4));
  uint32_t size = Synchsafe(b, 4);  // counts its own four bytes
  return kId3v2Header + (size < 4 ? 4 : size);
}

}  // namespace

void strip(char* s, int n) {
  int run = -1;
  int i = 0;
  for (; i < n - 1 && s[i] != '\0'; ++i) {
    bool blank = s[i] == ' ' || s[i] == '\t' || s[i] == '\n';
    if (!blank)
      run = -1;
    else if (run < 0)
      run = i;
  }
  if (run >= 0) s[run] = '\0';
}

void clear(void* p, int n) {
  if (p && n > 0) std::memset(p, 0, static_cast<size_t>(n));
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
    char text[kId3v1Field + 1] = {};
    std::memcpy(text, trailer + 3 + i * kId3v1Field, kId3v1Field);
    SetField(*fields[i], text);
  }
}

int HasId3v2(TagFile& f, TrackTag* tag) {
  unsigned char h[kId3v2Header] = {};
  if (f.ReadSome(0, h, sizeof h) < 3 || std::memcmp(h, "ID3", 3) != 0) return 0;
  tag->id3Version = h[3];
  tag->id3ExtHeader = (h[5] & 0x40) ? 1 : 0;
  tag->id3End = static_cast<int32_t>(Synchsafe(h + 6, 4)) + kId3v2Header;
  return 1;
}

void ReadId3v2(TagFile& f, TrackTag* tag) {
  if (!HasId3v2(f, tag)) return;
  const FrameLayout& layout = LayoutFor(tag->id3Version);
  int64_t pos = FirstFrame(f, *tag);
  if (pos < 0) return;
  unsigned char h[10];
  while (pos < tag->id3End && f.Read(pos, h, layout.headerSize)) {
    const unsigned char* sizeBytes = h + layout.idSize;
    uint32_t size = layout.synchsafe ? Synchsafe(sizeBytes, layout.sizeBytes)
                                     : BigEndian(sizeBytes, layout.sizeBytes);
    if (NameField field = FieldFor(tag, layout, h))
      StoreFrameText(f, pos + layout.headerSize, size, *field);
    pos += layout.headerSize + static_cast<int64_t>(size);
  }
}

int HasId3v1(TrackTag* tag) {
  TagFile f(FieldText(tag->file));
  return HasId3v1(f, tag);
}

void ReadId3v1(TrackTag* tag) {
  TagFile f(FieldText(tag->file));
  ReadId3v1(f, tag);
}

int HasId3v2(TrackTag* tag) {
  TagFile f(FieldText(tag->file));
  return HasId3v2(f, tag);
}

void ReadId3v2(TrackTag* tag) {
  TagFile f(FieldText(tag->file));
  ReadId3v2(f, tag);
}

}  // namespace spinox
