#include "plugin/tick.h"

#include <cstring>
#include <string>

#include "base/clock.h"
#include "base/player.h"
#include "base/text.h"
#include "db/changes.h"
#include "db/play.h"
#include "settings/settings.h"

namespace spinox {

int32_t _timer = 0;
int32_t _added = 0;
TrackTag _curSong = {};
SongInfo _data = {};
int32_t _txt_showing = 0;
int32_t _txt_timeNow = 0;

namespace {

constexpr int32_t kDaySeconds = 86400;
constexpr int kPlaying = 1;

TickHooks gHooks;
uint32_t gResolvedAt = 0;  // DatabaseChanges() when _data was last resolved

void Call(void (*hook)()) {
  if (hook) hook();
}

// The name as the player hands it over: the file field keeps at most kPathSize - 1 bytes, so a
// longer name is compared in that length, or it would never equal the stored one again.
std::string CurrentFileName(Player& player) {
  std::string file;
  if (!player.PlaylistFile(player.PlaylistPosition(), &file)) return std::string();
  if (file.size() > kPathSize - 1) file.resize(kPathSize - 1);
  return file;
}

// Reads the file's tags and resolves it: _curSong and _data describe it afterwards.
void ResolveFile(const std::string& file) {
  std::memset(&_curSong, 0, sizeof _curSong);
  SetField(_curSong.file, file);
  ReadTag(&_curSong);
  TagToData(_curSong, &_data);
  FillSongInfo(&_data);
  gResolvedAt = DatabaseChanges();
}

// After a clear, a restore, an edit or a removal the ids and counters of _data may name other
// records: the track is resolved again from its tags, as it keeps playing (its timer, its
// recorded state and the time given to its play stay).
void ResolveAgainAfterChanges() {
  if (gResolvedAt == DatabaseChanges() || !_curSong.file[0]) return;
  int32_t playTime = _data.playTime;
  TagToData(_curSong, &_data);
  FillSongInfo(&_data);
  _data.playTime = playTime;
  gResolvedAt = DatabaseChanges();
  Call(gHooks.currentHitlistPos);
}

void CountDisplayTime() {
  if (!_txt_showing) return;
  if (++_txt_timeNow <= _txt_timeEnd) return;
  Call(gHooks.hideDisplay);
  _txt_showing = 0;
}

void RunBackupWhenDue() {
  int32_t now = ClockNow();
  // Widened: a clock set far back must not overflow the difference.
  int64_t days = (static_cast<int64_t>(now) - _backupLast) / kDaySeconds;
  if (!_backup || days <= _backupTime) return;
  _backupLast = now;
  Call(gHooks.backupDatabase);
}

void StartNewFile(const std::string& file) {
  _added = 0;
  _timer = 0;
  ResolveFile(file);
  Call(gHooks.currentHitlistPos);
  if (_txt) Call(gHooks.displayText);
}

// A play that could not be written stays pending, so the next playing tick tries again.
void CountPlay(Player& player) {
  if (_added || (_skip && !_curSong.tagged)) return;
  int32_t length = _addTime < 0 ? player.TrackLength() : 0;
  if (_timer < PlayThreshold(_addTime, length)) return;
  _added = 1;
  if (!Hit(&_data)) _added = 0;
}

}  // namespace

void SetTickHooks(const TickHooks& hooks) {
  gHooks = hooks;
}

int32_t PlayThreshold(int32_t addTime, int32_t length) {
  if (addTime >= 0 || length == -1) return addTime;
  // The product wraps in 32 bits as the stored settings were always computed.
  int32_t product =
      static_cast<int32_t>(static_cast<uint32_t>(addTime) * static_cast<uint32_t>(length));
  return -(product / 100);
}

void PlayTick() {
  if (_enabled) CountDisplayTime();
  if (!_enabled) return;
  Player* player = CurrentPlayer();
  int state = player ? player->PlayState() : 0;
  RunBackupWhenDue();
  ResolveAgainAfterChanges();
  if (state != kPlaying) return;
  std::string file = CurrentFileName(*player);
  ++_timer;
  if (file.empty()) return;
  if (file != FieldText(_curSong.file))
    StartNewFile(file);
  else
    CountPlay(*player);
}

void ResolveCurrentTrack() {
  Player* player = CurrentPlayer();
  if (!player) return;
  std::string file = CurrentFileName(*player);
  if (file.empty()) return;
  ResolveFile(file);
  std::memset(_curSong.file, 0, sizeof _curSong.file);
}

}  // namespace spinox
