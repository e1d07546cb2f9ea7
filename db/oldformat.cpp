#include "db/oldformat.h"

#include "base/replace_file.h"
#include "db/database.h"

namespace spinox {

namespace {

// Rebuilds the record files from an opened old file; false (nothing replaced) when it is not
// one or a write failed.
bool Convert(File& f) {
  Sections s;
  if (!ParseOldDatabase(f, &s) || !WriteSectionTemps(f, s)) return false;
  f.Close();
  return CommitSectionTemps();
}

}  // namespace

bool ParseOldDatabase(File& f, Sections* out) {
  int64_t size = f.Size();
  int32_t blockLen;
  if (size < 4 || !f.Seek(0) || !f.Read(&blockLen, 4)) return false;
  if (blockLen < 0 || blockLen > size - 4) return false;
  return ReadSections(f, 4 + static_cast<int64_t>(blockLen), size, out) && out->end == size;
}

std::string SetAsideName(const std::string& path) {
  std::string name = path + ".bad";
  for (int n = 1; FileExists(name) && n < 1000; ++n) name = path + ".bad." + std::to_string(n);
  return name;
}

OldFormatResult BreakDownOldVersionDatFile() {
  std::string path = FullPath(kSettingsFile);
  File f(path, "rb");
  if (!f.IsOpen()) return OldFormatResult::kNotConverted;
  if (Convert(f)) {
    // The old file must not be converted a second time over plays recorded later: when the
    // magic cannot be written, the file is moved out of the way instead.
    static const char kMagicOnly[4] = {'S', 'P', 'X', '\0'};
    if (!WriteFileReplacing(path, kMagicOnly, sizeof kMagicOnly))
      RenameOver(path, SetAsideName(path));
    return OldFormatResult::kConverted;
  }
  f.Close();
  // Kept aside rather than left in place: the next shutdown writes the settings over
  // gen_spinox.dat, and whatever it held would be lost.
  return RenameOver(path, SetAsideName(path)) ? OldFormatResult::kSetAside
                                              : OldFormatResult::kNotConverted;
}

}  // namespace spinox
