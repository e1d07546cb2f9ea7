// The hit list engine, its rows and playlists over record files of arbitrary bytes: ids past
// the files, times out of order, names without terminators, partial records.
// Input layout as for the records target (fuzz/records_driver.h); the first input byte also
// picks the period and the filters.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/player.h"
#include "base/text.h"
#include "db/paths.h"
#include "fuzz/fuzz_util.h"
#include "fuzz/records_driver.h"
#include "hitlist/engine.h"
#include "hitlist/period.h"
#include "hitlist/playlist.h"
#include "hitlist/shown_list.h"
#include "hitlist/view.h"
#include "html/tags.h"
#include "settings/settings.h"

namespace {

using namespace spinox;

// A playlist of the scratch database's own files (read as tracks without tags).
class FilePlayer : public Player {
 public:
  explicit FilePlayer(std::vector<std::string> files) : files_(std::move(files)) {}
  int PlayState() override { return 0; }
  int TrackLength() override { return -1; }
  int PlaylistLength() override { return static_cast<int>(files_.size()); }
  int PlaylistPosition() override { return 0; }
  bool PlaylistFile(int i, std::string* file) override {
    if (i < 0 || static_cast<size_t>(i) >= files_.size()) return false;
    *file = files_[static_cast<size_t>(i)];
    return true;
  }
  void ClearPlaylist() override {}
  bool LoadPlaylist(const std::string&) override { return true; }
  void LoadAnsiPlaylist(const std::string&) override {}
  void Play() override {}

 private:
  std::vector<std::string> files_;
};

void Compute(ShownList& list, int32_t type, int32_t filter, const std::string& value,
             int32_t mode) {
  HitListSettings& s = list.settings;
  s._type = type;
  list._filter = filter;
  SetField(list._theFilter, value);
  s._pos = s._change = mode;
  s._check = type % 3;
  const TimeFormats formats = {"%d/%m/%y", "%H:%M:%S"};
  HitListRows rows = RecomputeHitList(list, nullptr, formats);
  if (list._hitlistsize > s._size) __builtin_trap();
  std::string m3u;
  PlaylistText(type, list._hitlistsize, list._hitlist.data(), &m3u);
  SongInfo playing = {};
  playing.songId = playing.albumId = playing.artistId = 1;
  CurrentHitlistPos(list, playing, nullptr);
  HtmTagValues tags;
  GetTags(list, &tags, formats);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& dir = fuzz::ScratchDir();
  fuzz::RecordFiles files = fuzz::SplitRecordInput(data, size);
  fuzz::WriteRecordFiles(files, dir);
  SetDataDir(dir);
  SetClockOverride(1000000);
  uint8_t pick = size > 0 ? data[0] : 0;
  HitListSettings stored = {};
  ShownList list(stored);
  stored._period = pick % 6;
  stored._size = 1 + (pick >> 4);
  SetPeriodBounds(list, 1000000, static_cast<int32_t>(fuzz::WordAt(files.bytes[3], 12, 0)),
                  static_cast<int32_t>(fuzz::WordAt(files.bytes[3], 28, 2000000)));
  UpdateScrollBar(list);
  std::string artist = files.bytes[2].substr(files.bytes[2].size() > 4 ? 4 : 0, 20);
  std::string album = artist + " - " + files.bytes[1].substr(files.bytes[1].size() > 4 ? 4 : 0, 20);
  for (int32_t type = 0; type < 4; ++type) {
    Compute(list, type, kFilterNone, "", pick & 1);
    Compute(list, type, kFilterArtist, artist, 1);
    Compute(list, type, kFilterAlbum, album, 0);
  }
  FilePlayer player({dir + "/" + kSongFile, dir + "/missing.mp3", dir + "/" + kHitFile});
  SetCurrentPlayer(&player);
  for (int32_t type = 0; type < 3; ++type) Compute(list, type, kFilterPlaylist, "", 1);
  SetCurrentPlayer(nullptr);
  return 0;
}
