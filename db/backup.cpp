#include "db/backup.h"

#include <cstdio>
#include <cstring>
#include <ctime>

#include "base/clock.h"
#include "base/file.h"
#include "base/replace_file.h"
#include "base/user.h"
#include "db/convert_text.h"
#include "db/journal.h"
#include "db/paths.h"
#include "db/text_encoding.h"

namespace spinox {

namespace {

constexpr char kRestoreCaption[] = "Restore Database";

constexpr size_t kEncodingAt = 11;
constexpr char kUtf8Tag[] = "UTF-8";

// Bytes 11..15 of the header say "UTF-8" when the records' texts are UTF-8; earlier versions
// left them NUL, and their texts are in the ANSI code page.
bool WriteBackup(File& out) {
  char header[kBackupHeaderSize] = "SPINOXv1.5";  // then NULs
  if (StoredTextEncoding() == TextEncoding::kUtf8)
    std::memcpy(header + kEncodingAt, kUtf8Tag, sizeof kUtf8Tag - 1);
  if (!out.Write(header, sizeof header)) return false;
  for (const SectionFile& file : kSectionFiles) {
    if (!WriteSection(out, file)) return false;
  }
  return out.Sync();
}

}  // namespace

std::string BackupFileName(int32_t when) {
  std::time_t t = when;
  std::tm* local = std::localtime(&t);
  char name[64] = "";
  if (!local || !std::strftime(name, sizeof name, "Spinox-%b %d, %y,%H%M.bak", local)) return "";
  return name;
}

std::string BackupDatabase() {
  DatabaseLock lock(LockKind::kShared);
  if (!lock.held()) return "";
  std::string name = BackupFileName(ClockNow());
  if (name.empty()) return "";
  std::string path = FullPath(name);
  std::string temp = TempPathFor(path);
  bool written;
  {
    File out;
    written =
        out.Open(temp, "wb") ? WriteBackup(out) && out.Close() : NoteIoFailure("create", temp);
  }
  if (written && RenameOver(temp, path)) return path;
  RemovePath(temp);
  return "";
}

bool BackupIsUtf8(File& f) {
  char tag[sizeof kUtf8Tag - 1];
  return f.Seek(kEncodingAt) && f.Read(tag, sizeof tag) &&
         std::memcmp(tag, kUtf8Tag, sizeof tag) == 0;
}

bool ParseBackup(File& f, Sections* out) {
  int64_t size = f.Size();
  if (size < kBackupHeaderSize) return false;
  return ReadSections(f, kBackupHeaderSize, size, out) && out->end == size;
}

// An earlier version's backup holds ANSI texts, converted as they are restored. In a folder
// that is not yet UTF-8 the settings texts are converted in the same change, and the marker is
// written with it.
RestoreResult RestoreBackupFile(const std::string& path) {
  File f(path, "rb");
  if (!f.IsOpen()) return RestoreResult::kUnreadable;
  Sections s;
  if (!ParseBackup(f, &s)) return RestoreResult::kNotBackup;
  bool ansiBackup = !BackupIsUtf8(f);
  Change change;
  if (!change.ok()) return RestoreResult::kBusy;
  bool marked = MarkerPresent();
  bool ansiFolder = StoredTextEncoding() == TextEncoding::kAnsi;
  for (const SectionFile& file : kSectionFiles) change.Stage(file.name, Change::From::kEmpty);
  if (!change.ok() || !WriteSectionFiles(f, s)) return RestoreResult::kWriteFailed;
  f.Close();
  for (int i = 0; ansiBackup && i < kRecordLayouts; ++i)
    ConvertStagedTexts(change, kTextLayouts[i]);
  if (ansiFolder) ConvertFileTexts(change, SettingsTextLayout());
  if (!marked) WriteUtf8Marker(change);
  return change.Commit() ? RestoreResult::kRestored : RestoreResult::kWriteFailed;
}

std::string RestoreMessage(RestoreResult result) {
  switch (result) {
    case RestoreResult::kRestored:
      return "Database Restored Succesfully";
    case RestoreResult::kUnreadable:
      return "The backup file could not be opened.\nThe database was not changed.";
    case RestoreResult::kNotBackup:
      return "This file is not a Spinox backup.\nThe database was not changed.";
    case RestoreResult::kWriteFailed:
      return "The database files could not be written.\nThe database was not changed.\n\n" +
             LastIoError();
    case RestoreResult::kBusy:
      return "The database could not be locked.\nThe database was not changed.\n\n" + LastIoError();
    default:
      return "";
  }
}

RestoreResult RestoreDatabase() {
  User& user = CurrentUser();
  if (!user.Ask("The current database will be lost.\nAre you sure?", kRestoreCaption))
    return RestoreResult::kDeclined;
  std::string path;
  if (!user.ChooseFile(kRestoreCaption, "Spinox backup files (*.bak)", "*.bak", &path))
    return RestoreResult::kCancelled;
  RestoreResult result = RestoreBackupFile(path);
  user.Tell(RestoreMessage(result), kRestoreCaption);
  return result;
}

}  // namespace spinox
