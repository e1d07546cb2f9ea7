#include "db/changes.h"

#include "base/user.h"
#include "db/journal.h"
#include "db/paths.h"
#include "db/record_io.h"

namespace spinox {

namespace {

uint32_t gChanges = 0;

}  // namespace

uint32_t DatabaseChanges() {
  return gChanges;
}

void NoteDatabaseChange() {
  ++gChanges;
}

bool ClearDatabase() {
  constexpr char kCaption[] = "Clear Database";
  if (!CurrentUser().Ask("The current database will be lost.\nAre you sure?", kCaption))
    return false;
  Change change;
  for (const char* name : {kHitFile, kSongFile, kAlbumFile, kArtistFile})
    change.Stage(name, Change::From::kEmpty);
  if (change.Commit()) return true;
  CurrentUser().Tell("The database could not be cleared; it was not changed.\n\n" + LastIoError(),
                     kCaption);
  return false;
}

}  // namespace spinox
