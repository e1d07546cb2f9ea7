// The on-screen display's text: the display template with its tags replaced by the playing
// track's statistics; what is on show and for how long.
#pragma once
#include <cstdint>
#include <string>

#include "db/records.h"
#include "settings/settings.h"

namespace spinox {

constexpr int kDisplaySize = 500;  // at most 499 characters and a NUL

// The display as it stands. The plug-in owns one (its ShellState); the tick counts its time.
struct DisplayState {
  char _txt_display[kDisplaySize] = {};  // the expanded text on show
  int32_t _txt_showing = 0;              // the display is up
  int32_t _txt_timeNow = 0;              // ticks since it was shown
};

// What the display's time and date tags need besides the track.
struct DisplayContext {
  int32_t now;         // the current time
  int32_t playingRow;  // lvPlaying: the row of the track in the list on show, -1 none
  std::string date;    // strftime format of "%date"
  std::string time;    // strftime format of "%time"
};

// Expands the template tmpl[0..size) (it ends earlier at a NUL) for `song`: at most 499
// characters; what does not fit is dropped from the first value or character that would not.
std::string ExpandDisplayText(const char* tmpl, size_t size, const SongInfo& song,
                              const DisplayContext& context);

// Expands the settings' _txt_text for `song` into display->_txt_display, with the track's row
// in the list on show (lvPlaying, -1 none), the settings' _date and _time and the clock.
void ExpandTxtDisplay(const Settings& settings, const SongInfo& song, int32_t playingRow,
                      DisplayState* display);

// "dayspast" and "hourspast" of a track last played at `lastPlayed` ("N/A" when never).
std::string DaysPastText(int32_t lastPlayed, int32_t now);
std::string HoursPastText(int32_t lastPlayed, int32_t now);

// Index of the first line feed of the NUL-terminated text, -1 when there is none.
int FindNL(const char* text);

// Puts back the eight settings the display page tries out (text, font, time on screen, size,
// colour, weight and place) as they were in `before`: the settings dialog's Cancel.
void RestoreDisplaySettings(const Settings& before, Settings* settings);

}  // namespace spinox
