// Play detection: the one-second tick that turns the player's state into counted plays. It
// reaches the player only through CurrentPlayer(), so it runs the same in the plug-in, the
// tool and the tests.
#pragma once
#include <cstdint>

#include "db/records.h"
#include "settings/settings.h"
#include "tags/track_tag.h"
#include "ui/osd/display_text.h"

namespace spinox {

// The play in progress. None of it is stored in the settings file.
struct TickState {
  int32_t _timer = 0;       // playing ticks since the current file was first seen
  int32_t _added = 0;       // 1 once the current file's play has been recorded
  TrackTag _curSong = {};   // tags of the current file; `file` is the name last seen
  SongInfo _data = {};      // the current track resolved against the database
  uint32_t resolvedAt = 0;  // DatabaseChanges() when _data was last resolved
};

// What the tick starts in other parts of the plug-in. A null hook is skipped.
struct TickHooks {
  void (*hideDisplay)() = nullptr;        // takes the on-screen display off the screen
  void (*displayText)() = nullptr;        // shows the display for the track in _data
  void (*backupDatabase)() = nullptr;     // the automatic backup
  void (*currentHitlistPos)() = nullptr;  // marks the track in _data in the list on show
};

// What a tick works on: the plug-in's own objects, or a test's.
struct Tick {
  Settings* settings;  // read; _backupLast is set when an automatic backup starts
  TickState* state;
  DisplayState* display;  // its time on screen is counted while it is up
  TickHooks hooks;
};

// Seconds of playing after which a track counts: `addTime` itself when it is 0 or more, else
// the negated percentage of `length` (-1: unknown, the threshold stays negative).
int32_t PlayThreshold(int32_t addTime, int32_t length);

// One timer tick: display time-out, backup schedule, change of file, counting.
void PlayTick(const Tick& tick);

// At start-up: resolves the file that is already current into _data, then forgets its name so
// that the first playing tick takes it as new and shows the display.
void ResolveCurrentTrack(TickState* state);

}  // namespace spinox
