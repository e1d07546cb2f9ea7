// The hit list shown in spinox-player.exe as a user would make it: the two windows laid out
// side by side, the options panel set and "Refresh Hitlist" clicked for each
// chart asked for, the period stepped back with the scroll bar, and the windows held on the
// screen for a screenshot.
#pragma once
#include <string>
#include <vector>

#include "tests/e2e/test_player_win.h"

namespace spinox::e2e {

// One chart: "TYPE,PERIOD[,TOP][,prev][,change][,days|time][,back=N][,from=DAY][,to=DAY]",
// TYPE songs, albums, artists or log, PERIOD day, week, month, year, all or user (the days
// the pickers show, or those set by from= and to=, YYYY-MM-DD).
struct PickedDay {
  int year = 0, month = 0, day = 0;  // year 0: as the picker shows it
};
struct ChartRequest {
  int type = 0;
  int period = 0;
  int top = 10;
  bool prev = false;
  bool change = false;
  int lastPlayed = 0;  // 0 none, 1 days, 2 date and time
  int back = 0;        // periods stepped back with the scroll bar after the refresh
  PickedDay from, to;  // the user-defined period's days
};
bool ParseChart(const std::string& text, ChartRequest* request);

// Before the plug-in starts: the settings file in `plugins` is given the windows' places and
// the playing row's highlight (the other settings stay as they are).
void PrepareChartSettings(const std::string& plugins);

// Shows each chart in turn (the last one stays on show) and prints its title and rows.
void ShowCharts(TestPlayer* player, const std::vector<ChartRequest>& charts);

// Writes `marker` ("hitlist" and the screen area of the windows) and keeps the windows alive
// until the marker is deleted, at most a minute.
void HoldForScreenshot(TestPlayer* player, const std::string& marker);

}  // namespace spinox::e2e
