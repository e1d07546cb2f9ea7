// ID3 tags: the ID3v2 header at the start of a file (layouts 2.2, 2.3 and 2.4) and the ID3v1
// trailer in its last 128 bytes. Each reader fills title, artist and album of a TrackTag.
#pragma once
#include "tags/tag_io.h"
#include "tags/track_tag.h"

namespace spinox {

// 1 when the file's last 128 bytes begin with "TAG".
int HasId3v1(TagFile& f, TrackTag* tag);
// Fills the fields still empty from the trailer's 30-byte fields.
void ReadId3v1(TagFile& f, TrackTag* tag);
// 1 when the file begins with "ID3"; then sets id3Version, id3ExtHeader and id3End.
int HasId3v2(TagFile& f, TrackTag* tag);
// Reads the title, artist and album text frames; a later frame overwrites an earlier one.
// Returns 1 when the tag counts as found: the file holds it whole, or it gave a title, artist or
// album before the file ended. A file cut short inside its tag is untagged.
int ReadId3v2(TagFile& f, TrackTag* tag);

}  // namespace spinox
