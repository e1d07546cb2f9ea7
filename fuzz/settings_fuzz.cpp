// libFuzzer target: the settings loader (recognition, short and long files, the fall-back to
// the old-format conversion) and the rectangle reader, on arbitrary gen_spinox.dat contents.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "db/paths.h"
#include "fuzz/fuzz_util.h"
#include "settings/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace spinox;
  Settings rec;
  if (ParseSettings(data, size, &rec)) {
    // Every text comes back terminated inside its field.
    for (const SettingsField& f : SettingsFields()) {
      if (f.kind == SettingsFieldKind::kText &&
          reinterpret_cast<const char*>(&rec)[f.offset + f.width - 1] != '\0')
        __builtin_trap();
    }
  }
  SetDataDir(fuzz::ScratchDir());
  fuzz::WriteScratch(kSettingsFile, data, size);
  Settings loaded = {};
  GetRects(&loaded);
  LoadDatFile(&loaded);
  if (strnlen(loaded._txt_text, sizeof loaded._txt_text) >= sizeof loaded._txt_text ||
      strnlen(loaded._date, sizeof loaded._date) >= sizeof loaded._date)
    __builtin_trap();
  for (const char* name :
       {kSettingsFile, kHitFile, kSongFile, kArtistFile, kAlbumFile, "gen_spinox.dat.bad"})
    std::remove(FullPath(name).c_str());
  return 0;
}
