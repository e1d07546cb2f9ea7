// The on-screen display's text: the display template with its tags replaced by the playing
// track's statistics, and the copies of the display settings the settings dialog restores.
#pragma once
#include <cstdint>
#include <string>

#include "db/records.h"
#include "settings/settings.h"

namespace spinox {

constexpr int kDisplaySize = 500;  // at most 499 characters and a NUL

extern char _txt_display[kDisplaySize];  // the expanded text on show

// The settings as they were before the settings dialog tried new ones.
extern char _txt_tmp_text[kOsdTextSize];
extern char _txt_tmp_font[kOsdFontSize];
extern int32_t _txt_tmp_timeEnd;
extern int32_t _txt_tmp_size;
extern uint32_t _txt_tmp_bg;
extern int32_t _txt_tmp_bold;
extern int32_t _txt_tmp_x;
extern int32_t _txt_tmp_y;

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

// Expands _txt_text for `song` into _txt_display, with lvPlaying, _date, _time and the clock.
void ExpandTxtDisplay(const SongInfo& song);

// "dayspast" and "hourspast" of a track last played at `lastPlayed` ("N/A" when never).
std::string DaysPastText(int32_t lastPlayed, int32_t now);
std::string HoursPastText(int32_t lastPlayed, int32_t now);

// Index of the first line feed of the NUL-terminated text, -1 when there is none.
int FindNL(const char* text);

// save != 0: copies the eight display settings into their _txt_tmp_ copies; save == 0: copies
// them back.
void BackupTextShowSettings(int save);

}  // namespace spinox
