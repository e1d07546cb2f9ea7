// Mending a play database without guessing: the repair writes only what the records themselves
// determine, and leaves the rest of what the check (db/check.h) finds for the user to judge.
#pragma once
#include <string>
#include <vector>

namespace spinox {

struct RepairReport {
  std::vector<std::string> done;    // what was mended, in plain words
  std::vector<std::string> failed;  // what could not be written, naming the file
};

// Mends what can be mended without guessing, under the exclusive lock: finishes or undoes an
// unfinished change, cuts off torn tails, and fills album and artist ids missing from songs
// (only when the song's names find exactly one live record) and from the plays of songs that
// have them, the songs and the plays at once or neither. Everything else is left as it is for
// the user to judge.
RepairReport RepairDatabase();

}  // namespace spinox
