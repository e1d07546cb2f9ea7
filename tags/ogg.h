// The comments of an Ogg file: the comment header of a Vorbis or Opus stream, or the Vorbis
// comment metadata block of a FLAC stream. TITLE, ARTIST and ALBUM fill the TrackTag's fields.
#pragma once
#include "tags/tag_io.h"
#include "tags/track_tag.h"

namespace spinox {

// 1 when the file begins with "Ogg".
int HasOGG(TagFile& f, TrackTag* tag);
// Returns 1 when the comments count as found: the comment header was read whole, or it gave a
// title, artist or album before it ended. An Ogg file without a comment header is untagged.
int ReadOGG(TagFile& f, TrackTag* tag);

}  // namespace spinox
