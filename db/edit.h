// Renaming and merging songs, albums and artists.
#pragma once
#include <string>
#include <vector>

#include "db/records.h"

namespace spinox {

// Results of UpdateSong, UpdateAlbum and UpdateArtist.
enum EditResult : int {
  kEditFailed = -2,    // a write failed (LastIoError() says which): nothing was changed
  kEditRefused = -1,   // the id names no live record (kNoId included): nothing written
  kEditDeclined = 0,   // a merge was offered and declined: nothing written
  kEditUnchanged = 1,  // the names already identify this entry: nothing written
  kEditMerged = 2,     // merged with the existing entry of those names
  kEditRenamed = 3,    // names changed in place
};

// Which entry the edit dialog edits: editType 0 song, 1 album, 2 artist, for the focused row
// `rowId` of a list of type `listType` (0 songs, 1 albums, 2 artists, 3 log). kNoId when the
// row has no such entry (a song stored without album or artist, an album whose artist name no
// longer resolves, or a type that does not fit the list).
RecId EditEntryId(int editType, int listType, RecId rowId);

// The messages an edit with an unusable id shows: no record of its own, or a record that was
// removed or merged into another.
extern const char* const kEditRefusedText;
extern const char* const kEditRemovedText;

// Each edit changes the record files all at once or not at all (a Change, db/journal.h).
// The texts are written into the records as given (case kept), at most 49 bytes each. A merge
// is asked through CurrentUser().Ask with the caption "Edit Song", "Edit Album" or "Edit
// Artist"; the merged-away record is marked deleted, and the lookups never find it again, so
// later plays of its names count for the survivor. Each song whose names the edit changes
// leaves an alias of its old names (records.h), so a later play of a file still tagged with
// them counts for that song too (FindSong). A rename or merge adds the album and artist
// records its new names lack (a song's plays keep their album and artist), and folds records
// it left with the same names as another into the lowest of them (an artist merge can leave
// two albums "gold" of the same artist), so no list shows the same names twice. An id of
// kNoId, or one past the end of its file, is refused with kEditRefusedText; one of a deleted
// record with kEditRemovedText; nothing is written then.
int UpdateSong(RecId songId, const char* title, const char* album, const char* artist);
int UpdateAlbum(RecId albumId, const char* album, const char* artist);
int UpdateArtist(RecId artistId, const char* name);

}  // namespace spinox
