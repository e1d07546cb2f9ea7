// What a track file's tags say: title, artist and album as UTF-8.
#pragma once
#include <cstdint>

#include "db/records.h"

namespace spinox {

class TagFile;  // tags/tag_io.h

#pragma pack(push, 1)
struct TrackTag {
  char title[kNameSize];
  char artist[kNameSize];
  char album[kNameSize];
  char file[kPathSize];  // set by the caller before ReadTag
  int32_t id3Version;    // major version of the ID3v2 header, 0 without one
  int32_t id3End;        // offset at which the ID3v2 tag ends, 0 without one
  int32_t id3ExtHeader;  // 1 when the ID3v2 header announces an extended header
  int32_t tagged;        // 1 when any tag (ID3v2, ID3v1, Ogg) was found
};
#pragma pack(pop)
static_assert(sizeof(TrackTag) == 416, "TrackTag layout");

// Reads the tags of tag->file: ID3v2, then ID3v1 for the fields still empty, then the
// comments of an Ogg stream (Vorbis, Opus, FLAC); the file name as title when no tag was found
// (a tag cut short by the end of the file that gave no text is none). Returns tag->tagged.
int ReadTag(TrackTag* tag);
// The same on the file's bytes already opened (tag->file still names it).
int ReadTag(TagFile& f, TrackTag* tag);
// Copies the four texts into a SongInfo, field by field.
void TagToData(const TrackTag& tag, SongInfo* info);

}  // namespace spinox
