#include "plugin/tick.h"

#include <cstring>
#include <string>

#include "base/clock.h"
#include "base/player.h"
#include "base/text.h"
#include "db/database.h"
#include "settings/settings.h"

namespace spinox {

namespace {

constexpr int32_t kDaySeconds = 86400;
constexpr int kPlaying = 1;

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
void ResolveFile(TickState& t, const std::string& file) {
  std::memset(&t._curSong, 0, sizeof t._curSong);
  SetField(t._curSong.file, file);
  ReadTag(&t._curSong);
  TagToData(t._curSong, &t._data);
  FillSongInfo(&t._data);
  t.resolvedAt = DatabaseChanges();
}

// After a clear, a restore, an edit or a removal the ids and counters of _data may name other
// records: the track is resolved again from its tags, as it keeps playing (its timer, its
// recorded state and the time given to its play stay).
void ResolveAgainAfterChanges(TickState& t) {
  if (t.resolvedAt == DatabaseChanges() || !t._curSong.file[0]) return;
  int32_t playTime = t._data.playTime;
  TagToData(t._curSong, &t._data);
  FillSongInfo(&t._data);
  t._data.playTime = playTime;
  t.resolvedAt = DatabaseChanges();
  Call(t.hooks.currentHitlistPos);
}

void CountDisplayTime(TickState& t) {
  if (!t._txt_showing) return;
  if (++t._txt_timeNow <= _txt_timeEnd) return;
  Call(t.hooks.hideDisplay);
  t._txt_showing = 0;
}

void RunBackupWhenDue(const TickState& t) {
  int32_t now = ClockNow();
  // Widened: a clock set far back must not overflow the difference.
  int64_t days = (static_cast<int64_t>(now) - _backupLast) / kDaySeconds;
  if (!_backup || days <= _backupTime) return;
  _backupLast = now;
  Call(t.hooks.backupDatabase);
}

void StartNewFile(TickState& t, const std::string& file) {
  t._added = 0;
  t._timer = 0;
  ResolveFile(t, file);
  Call(t.hooks.currentHitlistPos);
  if (_txt) Call(t.hooks.displayText);
}

// A play that could not be written stays pending, so the next playing tick tries again.
void CountPlay(TickState& t, Player& player) {
  if (t._added || (_skip && !t._curSong.tagged)) return;
  int32_t length = _addTime < 0 ? player.TrackLength() : 0;
  if (t._timer < PlayThreshold(_addTime, length)) return;
  t._added = 1;
  if (!Hit(&t._data)) t._added = 0;
}

}  // namespace

int32_t PlayThreshold(int32_t addTime, int32_t length) {
  if (addTime >= 0 || length == -1) return addTime;
  // The product wraps in 32 bits as the stored settings were always computed.
  int32_t product =
      static_cast<int32_t>(static_cast<uint32_t>(addTime) * static_cast<uint32_t>(length));
  return -(product / 100);
}

void PlayTick(TickState& t) {
  if (_enabled) CountDisplayTime(t);
  if (!_enabled) return;
  Player* player = CurrentPlayer();
  int state = player ? player->PlayState() : 0;
  RunBackupWhenDue(t);
  ResolveAgainAfterChanges(t);
  if (state != kPlaying) return;
  std::string file = CurrentFileName(*player);
  ++t._timer;
  if (file.empty()) return;
  if (file != FieldText(t._curSong.file))
    StartNewFile(t, file);
  else
    CountPlay(t, *player);
}

void ResolveCurrentTrack(TickState& t) {
  Player* player = CurrentPlayer();
  if (!player) return;
  std::string file = CurrentFileName(*player);
  if (file.empty()) return;
  ResolveFile(t, file);
  std::memset(t._curSong.file, 0, sizeof t._curSong.file);
}

}  // namespace spinox
