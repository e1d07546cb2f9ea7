// The name lists of the edit dialog's boxes and the options panel's filters, read from the
// artist and album record files.
#pragma once
#include <string>
#include <vector>

#include "db/records.h"

namespace spinox {

// Names of the artist records that are not deleted, in file order.
std::vector<std::string> FillCBOWithArtists();
// Album entries that are not deleted, in file order: for artistId kNoId every album as
// "artist - album"; else the bare names of the albums whose artist name resolves (FindArtist)
// to that id.
std::vector<std::string> FillCBOWithAlbums(RecId artistId);

}  // namespace spinox
