#include "db/changes.h"

#include "base/user.h"
#include "db/convert_text.h"
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
  // An earlier version's folder is converted first: its settings stay, and the records
  // written from now on are UTF-8.
  bool utf8 = EnsureUtf8Database() != TextConversion::kFailed;
  Change change;
  if (!utf8) change.Fail();
  for (const char* name : {kHitFile, kSongFile, kAlbumFile, kArtistFile})
    change.Stage(name, Change::From::kEmpty);
  if (change.Commit()) return true;
  CurrentUser().Tell("The database could not be cleared; it was not changed.\n\n" + LastIoError(),
                     kCaption);
  return false;
}

}  // namespace spinox
