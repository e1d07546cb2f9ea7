// Changes that retire or move ids: their count in this process, and clearing the database.
#pragma once
#include <cstdint>

namespace spinox {

// Changes that can retire or move the ids of a resolved SongInfo (clearing, restoring, merging,
// renaming, removing: every committed Change) bump this count; whoever keeps a SongInfo across
// them compares it and resolves again. It counts this process's changes only: Hit looks the
// names up again itself.
uint32_t DatabaseChanges();
void NoteDatabaseChange();

// Empties the four record files at once after the user confirms. False when declined or when
// it failed (the user is then told why; nothing was changed).
bool ClearDatabase();

}  // namespace spinox
