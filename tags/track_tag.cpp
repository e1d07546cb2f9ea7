// The one entry point for reading a track's tags, and the copy into a SongInfo.
#include "tags/track_tag.h"

#include <cstring>

#include "base/codepage.h"
#include "base/text.h"
#include "tags/id3.h"
#include "tags/ogg.h"
#include "tags/tag_io.h"

namespace spinox {

namespace {

std::string LastPathPart(const std::string& path) {
#ifdef _WIN32
  size_t cut = path.find_last_of('\\');
#else
  size_t cut = path.find_last_of("/\\");
#endif
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// The title of a file without tags: its name, extension included. Paths are UTF-8; bytes that
// are not (a file name on a system that allows any) become U+FFFD.
void SetFileNameTitle(TrackTag* tag) {
  SetField(tag->title, CleanUtf8(LastPathPart(FieldText(tag->file))));
}

// Removes trailing blanks (space, tab, line feed) looking at no more than n - 1 bytes.
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

void Reset(TrackTag* tag) {
  std::memset(tag->album, 0, kNameSize);
  std::memset(tag->artist, 0, kNameSize);
  std::memset(tag->title, 0, kNameSize);
  tag->id3End = 0;
  tag->id3Version = 0;
  tag->tagged = 0;
}

}  // namespace

int ReadTag(TrackTag* tag) {
  if (tag->file[0] == '\0') {
    Reset(tag);
    return 0;
  }
  TagFile f(FieldText(tag->file));  // one open for every reader
  return ReadTag(f, tag);
}

int ReadTag(TagFile& f, TrackTag* tag) {
  Reset(tag);
  int found = 0;
  if (HasId3v2(f, tag) && ReadId3v2(f, tag)) found = 1;
  if (HasId3v1(f, tag)) {
    ReadId3v1(f, tag);
    found = 1;
  }
  if (HasOGG(f, tag) && ReadOGG(f, tag)) found = 1;
  strip(tag->title, kNameSize);
  strip(tag->album, kNameSize);
  strip(tag->artist, kNameSize);
  // A tag that names nothing (a comment or a vendor string only) is no tag: counting it would
  // add the file as a song without names, and every such file would be that one song. A tag
  // without a title still names the track by its file name, so distinct files stay distinct.
  if (tag->title[0] == '\0' && tag->artist[0] == '\0' && tag->album[0] == '\0') found = 0;
  if (tag->title[0] == '\0') {
    SetFileNameTitle(tag);
    strip(tag->title, kNameSize);
  }
  tag->tagged = found;
  return found;
}

void TagToData(const TrackTag& tag, SongInfo* info) {
  CopyText(info->album, kNameSize, tag.album);
  CopyText(info->artist, kNameSize, tag.artist);
  CopyText(info->title, kNameSize, tag.title);
  CopyText(info->file, kPathSize, tag.file);
}

}  // namespace spinox
