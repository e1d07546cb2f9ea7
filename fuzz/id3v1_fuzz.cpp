// ID3v1 reader on arbitrary file contents, with some fields already filled.
#include <cstdlib>
#include <cstring>

#include "base/text.h"
#include "tags/id3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  spinox::TagFile f(data, size);
  spinox::TrackTag tag{};
  if (size > 0 && data[0] & 1) spinox::SetField(tag.artist, "kept");
  int has = spinox::HasId3v1(f, &tag);
  spinox::ReadId3v1(f, &tag);
  if (has && size < 128) std::abort();
  for (const char* f : {tag.title, tag.artist, tag.album}) {
    if (strnlen(f, spinox::kNameSize) >= static_cast<size_t>(spinox::kNameSize)) std::abort();
  }
  if (size > 0 && data[0] & 1 && std::strcmp(tag.artist, "kept") != 0) std::abort();
  return 0;
}
