#include "db/journal.h"

#include <cerrno>
#include <cstring>
#include <memory>

#include "base/file.h"
#include "base/replace_file.h"
#include "db/changes.h"
#include "db/paths.h"
#include "db/text_encoding.h"

namespace spinox {

const char* const kJournalFile = "gen_spinox.jnl";

namespace {

constexpr char kJournalHead[] = "spinox journal 1\n";
constexpr size_t kCopyChunk = 256 * 1024;

// The only files a journal may name: a damaged or hostile journal cannot move anything else.
// The marker of UTF-8 texts is written in the change that converts the texts.
const char* const kChangeable[] = {kHitFile,    kSongFile,     kAlbumFile,
                                   kArtistFile, kSettingsFile, kUtf8MarkerFile};

using Entry = StagedFile;

int gOpenChanges = 0;

// What the lock's own recoveries did, for RecoverDatabase's report.
std::string& RecoveryNotes() {
  static std::string notes;
  return notes;
}

std::string OldPath(const std::string& name) {
  return RealPath(name) + ".old";
}

bool IsChangeable(const std::string& name) {
  for (const char* known : kChangeable) {
    if (name == known) return true;
  }
  return false;
}

std::string JournalText(const std::vector<Entry>& entries) {
  std::string text = kJournalHead;
  for (const Entry& e : entries) text += e.name + (e.existed ? " 1\n" : " 0\n");
  return text + "end\n";
}

// The entries of a journal; false when it is not wholly one.
bool ParseJournal(const std::vector<unsigned char>& bytes, std::vector<Entry>* out) {
  std::string text(bytes.begin(), bytes.end());
  if (text.compare(0, sizeof kJournalHead - 1, kJournalHead) != 0) return false;
  size_t pos = sizeof kJournalHead - 1;
  for (;;) {
    size_t eol = text.find('\n', pos);
    if (eol == std::string::npos) return false;
    std::string line = text.substr(pos, eol - pos);
    pos = eol + 1;
    if (line == "end") return pos == text.size();
    if (line.size() < 3 || line[line.size() - 2] != ' ') return false;
    char flag = line.back();
    std::string name = line.substr(0, line.size() - 2);
    if (!IsChangeable(name) || (flag != '0' && flag != '1')) return false;
    out->push_back({name, flag == '1'});
  }
}

// Whether the file is there; false with `failed` set when that cannot be told.
bool Exists(const std::string& path, bool* failed) {
  errno = 0;
  File f(path, "rb");
  if (f.IsOpen()) return true;
  if (errno != ENOENT) *failed = !NoteIoFailure("open", path);
  return false;
}

bool CopyWhole(const std::string& from, const std::string& to) {
  File in(from, "rb");
  if (!in.IsOpen()) return NoteIoFailure("open", from);
  File out;
  if (!out.Open(to, "wb")) return NoteIoFailure("create", to);
  std::unique_ptr<unsigned char[]> buf(new unsigned char[kCopyChunk]);
  for (;;) {
    size_t n = std::fread(buf.get(), 1, kCopyChunk, in.get());
    if (n > 0 && !out.Write(buf.get(), n)) return false;
    if (n < kCopyChunk) break;
  }
  if (std::ferror(in.get())) return NoteIoFailure("read", from);
  return out.Close();
}

bool SyncFile(const std::string& path) {
  File f;
  if (!f.Open(path, "r+b")) return NoteIoFailure("open", path);
  return f.Sync() && f.Close();
}

// Puts back what the entries' change replaced, from whatever point it reached, and then removes
// the journal. Every step can be repeated, so an undo cut short is finished by the next one.
bool Undo(const std::vector<Entry>& entries) {
  bool ok = true;
  for (const Entry& e : entries) {
    bool failed = false;
    if (Exists(OldPath(e.name), &failed))
      ok = RenameOver(OldPath(e.name), RealPath(e.name)) && ok;
    else if (!failed && !e.existed)
      ok = RemoveFile(RealPath(e.name)) && ok;
    ok = !failed && RemoveFile(StagedPath(e.name)) && ok;
  }
  return ok && SyncFolder(DataDir()) && RemoveFile(RealPath(kJournalFile));
}

// Files an interrupted change can leave without a journal: copies never switched in, files
// switched out, a journal never completed.
std::vector<std::string> LeftoverPaths() {
  std::vector<std::string> paths;
  for (const char* name : kChangeable) {
    paths.push_back(StagedPath(name));
    paths.push_back(OldPath(name));
  }
  paths.push_back(TempPathFor(RealPath(kJournalFile)));
  return paths;
}

// Removes the leftovers; names each one removed in `report`.
bool RemoveLeftovers(std::string* report) {
  for (const std::string& path : LeftoverPaths()) {
    bool failed = false;
    if (!Exists(path, &failed)) {
      if (failed) return false;
      continue;
    }
    if (!RemoveFile(path)) return false;
    if (report) *report += "removed the leftover file '" + path + "'\n";
  }
  return true;
}

std::string Names(const std::vector<Entry>& entries) {
  std::string names;
  for (const Entry& e : entries) names += (names.empty() ? "" : ", ") + e.name;
  return names;
}

}  // namespace

bool ChangeOpen() {
  return gOpenChanges > 0;
}

bool ChangePending() {
  return FileExists(RealPath(kJournalFile));
}

bool FinishUnderLock(std::string* report) {
  std::vector<unsigned char> bytes;
  std::string path = RealPath(kJournalFile);
  if (FileExists(path)) {
    if (!ReadWholeFile(path, &bytes)) return NoteIoFailure("read", path);
    std::vector<Entry> entries;
    bool whole = ParseJournal(bytes, &entries);
    if (!whole) {
      // Only a damaged disk gives this: every file moved aside is put back.
      entries.clear();
      for (const char* name : kChangeable) entries.push_back({name, true});
    }
    if (!Undo(entries)) return false;
    RecoveryNotes() += whole ? "undid an unfinished change of " + Names(entries) + "\n"
                             : "undid an unfinished change (its journal was damaged)\n";
  }
  bool tidy = RemoveLeftovers(&RecoveryNotes());
  if (report) *report = RecoveryNotes();
  return tidy;
}

bool RecoverDatabase(std::string* report) {
  // Taking the lock undoes a pending change itself; what it did is part of this report.
  RecoveryNotes().clear();
  bool recovered;
  {
    DatabaseLock lock(LockKind::kExclusive);
    recovered = lock.held() && FinishUnderLock(nullptr);
  }
  if (report) *report = RecoveryNotes();
  RecoveryNotes().clear();
  return recovered;
}

Change::Change() : lock_(LockKind::kExclusive) {
  ++gOpenChanges;
  ok_ = lock_.held() && RemoveLeftovers(nullptr);
}

Change::~Change() {
  --gOpenChanges;
  if (done_) return;
  Unstage();
  for (const Entry& e : staged_) RemoveFile(StagedPath(e.name));
}

void Change::Unstage() {
  for (const Entry& e : staged_) SetStaged(e.name, false);
}

bool Change::Stage(const char* name, From from) {
  if (!ok_) return false;
  for (const Entry& e : staged_) {
    if (e.name == name) return true;
  }
  // A read-only file is kept as it is: renaming a copy over it would undo what its owner set
  // (and on Windows the file switched out could not be removed afterwards).
  std::string refusal = ReplaceRefusal(RealPath(name));
  if (!refusal.empty()) {
    SetIoError("cannot change '" + RealPath(name) + "': " + refusal);
    return ok_ = false;
  }
  bool failed = false;
  bool existed = Exists(RealPath(name), &failed);
  std::string copy = StagedPath(name);
  if (!failed && from == From::kCopy && existed) {
    failed = !CopyWhole(RealPath(name), copy);
  } else if (!failed) {
    File empty;
    failed = !empty.Open(copy, "wb") ? !NoteIoFailure("create", copy) : !empty.Close();
  }
  if (failed) {
    RemoveFile(copy);
    return ok_ = false;
  }
  staged_.push_back({name, existed});
  SetStaged(name, true);
  return true;
}

bool Change::Commit() {
  Unstage();
  if (!ok_ || done_) return false;
  for (const Entry& e : staged_) {
    if (!SyncFile(StagedPath(e.name))) return ok_ = false;
  }
  const std::vector<Entry>& entries = staged_;
  std::string journal = RealPath(kJournalFile);
  std::string text = JournalText(entries);
  if (!WriteFileReplacing(journal, text.data(), text.size())) return ok_ = false;
  // From here on a failure is undone from the journal, in this process or the next.
  done_ = true;
  bool switched = SyncFolder(DataDir());
  for (const Entry& e : entries) {
    switched = switched && (!e.existed || RenameOver(RealPath(e.name), OldPath(e.name))) &&
               RenameOver(StagedPath(e.name), RealPath(e.name));
  }
  if (!switched || !SyncFolder(DataDir()) || !RemoveFile(journal)) {
    std::string error = LastIoError();
    Undo(entries);
    SetIoError(error);
    return ok_ = false;
  }
  // The change has happened; what follows only tidies up, and the next change does it if
  // this cannot.
  NoteDatabaseChange();
  SyncFolder(DataDir());
  for (const Entry& e : entries) RemoveFile(OldPath(e.name));
  return true;
}

}  // namespace spinox
