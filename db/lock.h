// One writer at a time: every process that changes the database (the plug-in, the spinox tool)
// holds an exclusive OS file lock on gen_spinox.lck in the data folder for the length of the
// change; readers that combine several record files hold it shared. The lock file itself holds
// no data and is never removed (removing it would let two processes lock two different files).
//
// The lock belongs to the process and nests: an inner request while the process holds the lock
// succeeds at once (the core is single-threaded). Taking it first finishes or undoes a change
// that a process which died while holding it left behind (db/journal.h).
#pragma once

namespace spinox {

extern const char* const kLockFile;  // "gen_spinox.lck"

enum class LockKind { kShared, kExclusive };

// Whether taking the lock first finishes a change a dead process left unfinished (every reader
// and writer) or leaves it for the caller to see (the check, which changes nothing).
enum class LeftChange { kFinish, kLeave };

// How long a request waits while another process holds the lock: 0 tries once (the default, for
// the plug-in, which must not hold up the player's window: a busy lock is retried on a later
// tick); the tool waits a few seconds before it reports the database busy.
void SetLockWait(int milliseconds);

class DatabaseLock {
 public:
  static constexpr int kSetWait = -1;
  // Waits as SetLockWait said, or `waitMs` (0: tries once).
  explicit DatabaseLock(LockKind kind, int waitMs = kSetWait,
                        LeftChange left = LeftChange::kFinish);
  ~DatabaseLock();
  DatabaseLock(const DatabaseLock&) = delete;
  DatabaseLock& operator=(const DatabaseLock&) = delete;
  // False when the lock could not be had; LastIoError() then says why (busy, or the lock file
  // could not be opened).
  bool held() const { return held_; }

 private:
  bool held_ = false;
};

// True while this process holds the lock exclusively.
bool HoldsExclusiveLock();

}  // namespace spinox
