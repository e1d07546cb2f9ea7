#include "plugin/tick.h"

#include <cstring>
#include <string>

#include "base/clock.h"
#include "base/codepage.h"
#include "base/player.h"
#include "base/text.h"
#include "db/changes.h"
#include "db/play.h"
#include "settings/settings.h"

namespace spinox {

namespace {

constexpr int32_t kDaySeconds = 86400;
constexpr int kPlaying = 1;

void Call(void (*hook)()) {
  if (hook) hook();
}

// The name as the player hands it over: the file field keeps at most kPathSize - 1 bytes, so a
// longer name is compared in that length (cut between characters, as the field is), or it would
// never equal the stored one again.
std::string CurrentFileName(Player& player) {
  std::string file;
  if (!player.PlaylistFile(player.PlaylistPosition(), &file)) return std::string();
  file.resize(Utf8CutLength(file.data(), file.size(), kPathSize - 1));
  return file;
}

// Reads the file's tags and resolves it: _curSong and _data describe it afterwards.
void ResolveFile(const std::string& file, TickState* t) {
  std::memset(&t->_curSong, 0, sizeof t->_curSong);
  SetField(t->_curSong.file, file);
  ReadTag(&t->_curSong);
  TagToData(t->_curSong, &t->_data);
  FillSongInfo(&t->_data);
  t->resolvedAt = DatabaseChanges();
}

// After a clear, a restore, an edit or a removal the ids and counters of _data may name other
// records: the track is resolved again from its tags, as it keeps playing (its timer, its
// recorded state and the time given to its play stay).
void ResolveAgainAfterChanges(const Tick& tick) {
  TickState* t = tick.state;
  if (t->resolvedAt == DatabaseChanges() || !t->_curSong.file[0]) return;
  int32_t playTime = t->_data.playTime;
  TagToData(t->_curSong, &t->_data);
  FillSongInfo(&t->_data);
  t->_data.playTime = playTime;
  t->resolvedAt = DatabaseChanges();
  Call(tick.hooks.currentHitlistPos);
}

void CountDisplayTime(const Tick& tick) {
  DisplayState* d = tick.display;
  if (!d->_txt_showing) return;
  if (++d->_txt_timeNow <= tick.settings->_txt_timeEnd) return;
  Call(tick.hooks.hideDisplay);
  d->_txt_showing = 0;
}

void RunBackupWhenDue(const Tick& tick) {
  Settings* s = tick.settings;
  int32_t now = ClockNow();
  // Widened: a clock set far back must not overflow the difference.
  int64_t days = (static_cast<int64_t>(now) - s->_backupLast) / kDaySeconds;
  if (!s->_backup || days <= s->_backupTime) return;
  s->_backupLast = now;
  Call(tick.hooks.backupDatabase);
}

void StartNewFile(const Tick& tick, const std::string& file) {
  tick.state->_added = 0;
  tick.state->_timer = 0;
  ResolveFile(file, tick.state);
  Call(tick.hooks.currentHitlistPos);
  if (tick.settings->_txt) Call(tick.hooks.displayText);
}

// A play that could not be written stays pending, so the next playing tick tries again.
void CountPlay(const Tick& tick, Player& player) {
  const Settings& s = *tick.settings;
  TickState* t = tick.state;
  if (t->_added || (s._skip && !t->_curSong.tagged)) return;
  int32_t length = s._addTime < 0 ? player.TrackLength() : 0;
  if (t->_timer < PlayThreshold(s._addTime, length)) return;
  t->_added = 1;
  if (!Hit(&t->_data)) t->_added = 0;
}

}  // namespace

int32_t PlayThreshold(int32_t addTime, int32_t length) {
  if (addTime >= 0 || length == -1) return addTime;
  // The product wraps in 32 bits as the stored settings were always computed.
  int32_t product =
      static_cast<int32_t>(static_cast<uint32_t>(addTime) * static_cast<uint32_t>(length));
  return -(product / 100);
}

void PlayTick(const Tick& tick) {
  if (tick.settings->_enabled) CountDisplayTime(tick);
  if (!tick.settings->_enabled) return;
  Player* player = CurrentPlayer();
  int state = player ? player->PlayState() : 0;
  RunBackupWhenDue(tick);
  ResolveAgainAfterChanges(tick);
  if (state != kPlaying) return;
  std::string file = CurrentFileName(*player);
  ++tick.state->_timer;
  if (file.empty()) return;
  if (file != FieldText(tick.state->_curSong.file))
    StartNewFile(tick, file);
  else
    CountPlay(tick, *player);
}

void ResolveCurrentTrack(TickState* state) {
  Player* player = CurrentPlayer();
  if (!player) return;
  std::string file = CurrentFileName(*player);
  if (file.empty()) return;
  ResolveFile(file, state);
  std::memset(state->_curSong.file, 0, sizeof state->_curSong.file);
}

}  // namespace spinox
