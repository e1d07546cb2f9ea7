// The whole tag dispatch on arbitrary file contents; inputs beginning with "Ogg" reach the
// Vorbis comment reader.
#include <cstdlib>
#include <cstring>

#include "base/text.h"
#include "fuzz/fuzz_util.h"
#include "tags/track_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  spinox::TrackTag tag{};
  spinox::SetField(tag.file, spinox::fuzz::WriteScratch("track.ogg", data, size));
  int tagged = spinox::ReadTag(&tag);
  for (const char* f : {tag.title, tag.artist, tag.album}) {
    if (strnlen(f, spinox::kNameSize) >= static_cast<size_t>(spinox::kNameSize)) std::abort();
  }
  if (tagged != tag.tagged) std::abort();
  if (size >= 3 && std::memcmp(data, "Ogg", 3) == 0 && tagged != 1) std::abort();
  return 0;
}
