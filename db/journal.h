// All-or-nothing changes of several record files.
//
// A Change holds the database lock exclusively. Each file it touches is first staged: a copy
// named "<file>.new" (a copy of the file, or empty) that the change writes instead, since while
// the Change is open FullPath() of a staged file names its copy. Commit() puts the copies on
// the disk, writes the journal gen_spinox.jnl (the list of staged files), moves each file to
// "<file>.old" and its copy in its place, and then removes the journal: that removal is the
// moment the change happens. Until then any failure, or the next process to take the lock after
// a crash, undoes it from the journal (each ".old" back in place), so the database is always
// wholly old or wholly new. The ".old" files are removed after the journal; a leftover ".new" or
// ".old" without a journal is removed before the next change.
#pragma once
#include <string>
#include <vector>

#include "db/lock.h"

namespace spinox {

extern const char* const kJournalFile;  // "gen_spinox.jnl"

// True when gen_spinox.jnl is present: a change was left unfinished (or another process is in
// the middle of one). Reads nothing else and changes nothing.
bool ChangePending();

// True while this process has a Change open (its staged copies stand in for the files).
bool ChangeOpen();

// Takes the lock, undoes an unfinished change and removes files left over by an interrupted
// one. `report` says in plain words what was done ("" when nothing was needed). False when the
// lock could not be had or the database could not be put right (LastIoError() says why).
bool RecoverDatabase(std::string* report);

// The same for a caller that holds the lock exclusively (the lock's own first taking).
bool FinishUnderLock(std::string* report);

// A file a Change has staged, and whether it was there before the change.
struct StagedFile {
  std::string name;
  bool existed;
};

class Change {
 public:
  enum class From { kCopy, kEmpty };

  Change();
  // A change not committed is abandoned: the staged copies are removed, nothing is changed.
  ~Change();
  Change(const Change&) = delete;
  Change& operator=(const Change&) = delete;

  // False once the lock could not be had or a step failed (LastIoError() says which and why).
  bool ok() const { return ok_; }
  // Stages a record file (or the settings file): from now on FullPath(name) names its copy,
  // which starts as a copy of the file's bytes or empty. Staging a file twice does nothing.
  bool Stage(const char* name, From from);
  // Marks the change failed: a writer that could not do its part calls this (or returns false
  // from its own code) so that Commit() changes nothing.
  void Fail() { ok_ = false; }
  // Switches every staged file in at once. False (nothing changed) when anything failed.
  bool Commit();

 private:
  void Unstage();

  DatabaseLock lock_;
  std::vector<StagedFile> staged_;
  bool ok_ = false;
  bool done_ = false;
};

}  // namespace spinox
