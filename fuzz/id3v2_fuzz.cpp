// ID3v2 reader on arbitrary file contents.
#include <cstdlib>
#include <cstring>

#include "base/text.h"
#include "fuzz/fuzz_util.h"
#include "tags/track_tag.h"

namespace {

void CheckField(const char* field) {
  if (strnlen(field, spinox::kNameSize) >= static_cast<size_t>(spinox::kNameSize)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  spinox::TrackTag tag{};
  spinox::SetField(tag.file, spinox::fuzz::WriteScratch("id3v2.mp3", data, size));
  if (spinox::HasId3v2(&tag)) spinox::ReadId3v2(&tag);
  CheckField(tag.title);
  CheckField(tag.artist);
  CheckField(tag.album);
  return 0;
}
