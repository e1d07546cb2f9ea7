#include "db/oldformat.h"

#include "base/replace_file.h"
#include "db/convert_text.h"
#include "db/journal.h"
#include "db/paths.h"

namespace spinox {

namespace {

constexpr char kMagicOnly[4] = {'S', 'P', 'X', '\0'};

// Rebuilds the record files from an opened old file and leaves the magic in its place, all in
// one change: the old file stays until the new record files are in. False (nothing changed)
// when it is not an old database or anything failed.
bool Convert(File& f) {
  Sections s;
  if (!ParseOldDatabase(f, &s)) return false;
  Change change;
  for (const SectionFile& file : kSectionFiles) change.Stage(file.name, Change::From::kEmpty);
  change.Stage(kSettingsFile, Change::From::kEmpty);
  if (!change.ok() || !WriteSectionFiles(f, s)) return false;
  f.Close();
  // The old layout predates UTF-8: its texts are in the ANSI code page.
  for (int i = 0; i < kRecordLayouts; ++i) ConvertStagedTexts(change, kTextLayouts[i]);
  if (!MarkerPresent()) WriteUtf8Marker(change);
  File settings;
  std::string path = FullPath(kSettingsFile);
  if (!settings.Open(path, "wb")) return NoteIoFailure("create", path);
  if (!settings.Write(kMagicOnly, sizeof kMagicOnly) || !settings.Close()) return false;
  return change.Commit();
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
  Sections s;
  bool isOld = ParseOldDatabase(f, &s);
  if (isOld && Convert(f)) return OldFormatResult::kConverted;
  f.Close();
  // An old database that could not be converted now stays as it is for the next attempt.
  if (isOld) return OldFormatResult::kFailed;
  // Kept aside rather than left in place: the next shutdown writes the settings over
  // gen_spinox.dat, and whatever it held would be lost.
  return RenameOver(path, SetAsideName(path)) ? OldFormatResult::kSetAside
                                              : OldFormatResult::kNotConverted;
}

}  // namespace spinox
