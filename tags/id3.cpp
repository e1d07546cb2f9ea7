// ID3v1 trailers: title, artist and album; and the blank stripping shared by the readers.
#include <cstring>

#include "base/text.h"
#include "tags/tag_io.h"
#include "tags/track_tag.h"

namespace spinox {

namespace {

constexpr int kId3v1Size = 128;
constexpr int kId3v1Field = 30;
using NameField = char (*)[kNameSize];

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

int HasId3v1(TrackTag* tag) {
  TagFile f(FieldText(tag->file));
  return HasId3v1(f, tag);
}

void ReadId3v1(TrackTag* tag) {
  TagFile f(FieldText(tag->file));
  ReadId3v1(f, tag);
}

}  // namespace spinox
