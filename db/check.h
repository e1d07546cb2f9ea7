// Verifying a play database. The check reads the four record files of the data folder
// (docs/database-format.md, "Checking a database") and changes nothing; db/repair.h mends what
// the records themselves determine.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace spinox {

enum class CheckProblem : int {
  kNotRegular,        // a record file is a folder, pipe or device
  kUnreadable,        // a record file could not be read
  kTornTail,          // a partial record ends the file (mendable: cut off)
  kBadOwnId,          // a record's id is neither its index nor the deleted mark
  kIdOutOfRange,      // an id names a record past the end of its file
  kMissingIds,        // a song without its album or artist id although its names find exactly
                      // one such record, or a play without the ids its song has (mendable)
  kIdsDiffer,         // a play's album or artist id is not its song's
  kDeletedMark,       // a deleted play that still names an album or artist, a play of a deleted
                      // song, or a song of a deleted album or artist
  kNameMismatch,      // a song's names are not those of its album or artist record
  kTimeBackwards,     // a play earlier than the one before it
  kUnfinishedChange,  // a change to several files was cut short (mendable: finished or undone)
  kNotUtf8,           // in a folder of UTF-8 texts, a text field that is not well-formed UTF-8
};
constexpr int kCheckProblemKinds = 12;

// A short stable name for each problem ("torn-tail", ...), as the JSON report gives it.
const char* ProblemName(CheckProblem problem);
// Whether --repair mends every problem of this kind.
bool Mendable(CheckProblem problem);

struct CheckFinding {
  CheckProblem problem;
  std::string file;  // the record file's name
  int64_t record;    // the record's index, -1 for the file as a whole
  std::string text;  // what is wrong, in plain words
};

struct CheckReport {
  int64_t songs = 0, albums = 0, artists = 0, hits = 0;  // whole records
  bool anyFile = false;                                  // at least one record file is there
  bool utf8 = true;   // the texts are UTF-8 (the marker, or no database), else the ANSI code page
  std::string error;  // why the check could not be made (the database is busy)
  std::vector<CheckFinding> shown;         // the first kShownPerKind findings of each kind
  int64_t count[kCheckProblemKinds] = {};  // every finding, by kind

  static constexpr int kShownPerKind = 5;
  int64_t Problems() const;
  int64_t MendableProblems() const;
  bool Clean() const { return Problems() == 0; }
};

// Checks the database in the data folder under the shared lock (db/lock.h). Reads only: an
// unfinished change (db/journal.h) is reported, not finished.
CheckReport CheckDatabase();

}  // namespace spinox
