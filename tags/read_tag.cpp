// The one entry point for reading a track's tags, and the copy into a SongInfo.
#include "base/codepage.h"
#include "base/text.h"
#include "tags/tag_io.h"
#include "tags/track_tag.h"

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

// The title of a file without tags: its name, extension included.
void SetFileNameTitle(TrackTag* tag) {
  std::string name = LastPathPart(FieldText(tag->file));
#ifndef _WIN32
  // File names here are UTF-8 while names are kept in the ANSI code page; a name that is not
  // valid UTF-8 is kept as its bytes.
  std::u32string text =
      DecodeUtf8(reinterpret_cast<const unsigned char*>(name.data()), name.size());
  if (EncodeUtf8(text) == name) {
    SetTagText(tag->title, text);
    return;
  }
#endif
  SetField(tag->title, name);
}

}  // namespace

int ReadTag(TrackTag* tag) {
  clear(tag->album, kNameSize);
  clear(tag->artist, kNameSize);
  clear(tag->title, kNameSize);
  tag->id3End = 0;
  tag->id3Version = 0;
  tag->tagged = 0;
  if (tag->file[0] == '\0') return 0;
  int found = 0;
  TagFile f(FieldText(tag->file));  // one open for every reader
  if (HasId3v2(f, tag) && ReadId3v2(f, tag)) found = 1;
  if (HasId3v1(f, tag)) ReadId3v1(f, tag), found = 1;
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
