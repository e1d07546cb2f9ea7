// "Spinox Settings" through the real dialog: pages, number boxes, the threshold, the date and
// time samples, the database actions with their questions, and Test then Cancel.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "hitlist/time_text.h"
#include "resources/resource.h"
#include "tests/e2e/settings_util_win.h"

namespace spinox::e2e {
namespace {

// The ids of each page's controls that the dialog holds.
const std::vector<int> kPageControls[] = {
    {IDC_SET_DISABLE, IDC_SET_SKIP, IDC_SET_HIGHLIGHT, IDC_SET_STORELABEL, IDC_SET_SECONDSLABEL,
     IDC_SET_PERCENTLABEL, IDC_SET_SECONDS, IDC_SET_PERCENT, IDC_SET_ADDTIME},
    {IDC_SET_BACKUP, IDC_SET_CLEAR, IDC_SET_BACKUPNOW, IDC_SET_RESTORE, IDC_SET_DAYSLABEL,
     IDC_SET_BACKUPDAYS},
    {IDC_SET_OSD, IDC_SET_DURATION, IDC_SET_SIZE, IDC_SET_COLOR, IDC_SET_COLORSWATCH, IDC_SET_X,
     IDC_SET_Y, IDC_SET_DURATIONLABEL, IDC_SET_FONTLABEL, IDC_SET_SIZELABEL, IDC_SET_XLABEL,
     IDC_SET_TEXT, IDC_SET_YLABEL, IDC_SET_TAGSHELP, IDC_SET_BOLD, IDC_SET_TEXTLABEL, IDC_SET_TEST,
     IDC_SET_FONT},
    {IDC_SET_TIMEFORMAT, IDC_SET_DATELABEL, IDC_SET_TIMELABEL, IDC_SET_DATEFORMAT,
     IDC_SET_FORMATHELP, IDC_SET_DATESAMPLE, IDC_SET_TIMESAMPLE},
};

void ChoosePage(HWND dlg, int page) {
  SendMessageA(Item(dlg, IDC_SET_PAGES), LB_SETCURSEL, static_cast<WPARAM>(page), 0);
  SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(IDC_SET_PAGES, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Item(dlg, IDC_SET_PAGES)));
}

// Only the chosen page's controls are on show.
void ExpectPageShown(HWND dlg, int page) {
  for (int p = 0; p < 4; ++p) {
    for (int id : kPageControls[p])
      EXPECT_EQ(IsShown(dlg, id), p == page) << "page " << p << " control " << id;
  }
}

std::vector<std::string> BackupFiles(const std::string& folder) {
  std::vector<std::string> out;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\Spinox-*.bak").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return out;
  do out.push_back(folder + "\\" + found.cFileName);
  while (FindNextFileA(h, &found));
  FindClose(h);
  return out;
}

using SettingsDialogTest = DialogTest;

TEST_F(SettingsDialogTest, PagesThresholdNumberBoxesAndSamples) {
  SettingsRecord rec = DefaultSettings();
  rec.addTime = -50;
  rec.backupTime = 7;
  rec.txtTimeEnd = 4;
  Start(rec);
  std::string year = FormatLocalTime(ClockNow(), "%Y", 200);
  WithSettings({
      [] {
        HWND dlg = Settings();
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(TextOf(dlg, IDC_SET_ADDTIME), "50");
        EXPECT_TRUE(IsChecked(dlg, IDC_SET_PERCENT));
        EXPECT_FALSE(IsChecked(dlg, IDC_SET_SECONDS));
        EXPECT_EQ(SendMessageA(Item(dlg, IDC_SET_PAGES), LB_GETCOUNT, 0, 0), 4);
        ExpectPageShown(dlg, 0);
      },
      [] {
        HWND dlg = Settings();
        ChoosePage(dlg, 1);
        ExpectPageShown(dlg, 1);
        EXPECT_EQ(TextOf(dlg, IDC_SET_BACKUPDAYS), "7");
        Type(dlg, IDC_SET_BACKUPDAYS, "");
        EXPECT_EQ(TextOf(dlg, IDC_SET_BACKUPDAYS), "");
        FocusOn(dlg, IDC_SET_BACKUP);
        EXPECT_EQ(TextOf(dlg, IDC_SET_BACKUPDAYS), "1") << "an emptied box becomes 1";
      },
      [] {
        HWND dlg = Settings();
        ChoosePage(dlg, 2);
        ExpectPageShown(dlg, 2);
        Type(dlg, IDC_SET_DURATION, "0");
        FocusOn(dlg, IDC_SET_SIZE);
        EXPECT_EQ(TextOf(dlg, IDC_SET_DURATION), "1");
        Type(dlg, IDC_SET_SIZE, "36");
        FocusOn(dlg, IDC_SET_X);
        EXPECT_EQ(TextOf(dlg, IDC_SET_SIZE), "36");
      },
      [&year] {
        HWND dlg = Settings();
        ChoosePage(dlg, 3);
        ExpectPageShown(dlg, 3);
        Type(dlg, IDC_SET_DATEFORMAT, "%");
        EXPECT_EQ(TextOf(dlg, IDC_SET_DATESAMPLE), "%") << "a stray percent sign is shown as typed";
        SendMessageA(Item(dlg, IDC_SET_DATEFORMAT), WM_CHAR, 'Y', 0);
        EXPECT_EQ(TextOf(dlg, IDC_SET_DATESAMPLE), year) << "updated at every keystroke";
        SendMessageA(Item(dlg, IDC_SET_DATEFORMAT), WM_CHAR, '!', 0);
        EXPECT_EQ(TextOf(dlg, IDC_SET_DATESAMPLE), year + "!");
        Type(dlg, IDC_SET_TIMEFORMAT, "[%Y]");
        EXPECT_EQ(TextOf(dlg, IDC_SET_TIMESAMPLE), "[" + year + "]");
      },
      [] { Press(Settings(), IDOK); },
  });
  player->Quit();
  SettingsRecord saved = Saved();
  EXPECT_EQ(saved.addTime, -50) << "OK with the threshold unchanged keeps it";
  EXPECT_EQ(saved.backupTime, 1);
  EXPECT_EQ(saved.txtTimeEnd, 1);
  EXPECT_EQ(saved.txtSize, 36);
  EXPECT_STREQ(saved.date, "%Y!");
  EXPECT_STREQ(saved.time, "[%Y]");
}

TEST_F(SettingsDialogTest, BackupNowRestoreAndClearGoThroughTheirQuestions) {
  player->playlist = {{MakeTrack("one.mp3", "One", "Band", "Album"), 300}};
  player->state = 1;
  SettingsRecord rec = DefaultSettings();
  rec.addTime = 2;
  rec.backup = 1;
  rec.backupTime = 30;
  rec.backupLast = ClockNow() - 3600;  // the automatic backup is not due
  Start(rec);
  player->Tick(4);
  const std::string hits = DataFile("gen_spinox.hit");
  ASSERT_EQ(SizeOf(hits), 16);
  WithSettings({
      [] {
        HWND dlg = Settings();
        ChoosePage(dlg, 1);
        gBoxAnswer = IDOK;
        Press(dlg, IDC_SET_BACKUPNOW);
        ASSERT_EQ(gBoxes.size(), 1u);
        EXPECT_EQ(gBoxes[0].text, "Database Backed up Succesfully");
        EXPECT_EQ(gBoxes[0].caption, "Backup Database");
      },
      [this, &hits] {
        HWND dlg = Settings();
        gBoxAnswer = IDNO;
        Press(dlg, IDC_SET_CLEAR);
        ASSERT_EQ(gBoxes.size(), 2u);
        EXPECT_EQ(gBoxes[1].text, "The current database will be lost.\nAre you sure?");
        EXPECT_EQ(gBoxes[1].caption, "Clear Database");
        EXPECT_EQ(SizeOf(hits), 16) << "No keeps the database";
        gBoxAnswer = IDYES;
        Press(dlg, IDC_SET_CLEAR);
        EXPECT_EQ(SizeOf(hits), 0);
        EXPECT_EQ(SizeOf(DataFile("gen_spinox.sng")), 0);
      },
      [this, &hits] {
        HWND dlg = Settings();
        gBoxAnswer = IDNO;
        size_t boxes = gBoxes.size();
        Press(dlg, IDC_SET_RESTORE);
        EXPECT_EQ(gBoxes.size(), boxes + 1);
        EXPECT_EQ(gBoxes.back().caption, "Restore Database");
        EXPECT_TRUE(gOpenDialogs.empty()) << "No asks for no file";
        std::vector<std::string> backups = BackupFiles(PluginsFolder());
        ASSERT_EQ(backups.size(), 1u);
        gBoxAnswer = IDYES;
        gOpenAnswer = backups[0];
        Press(dlg, IDC_SET_RESTORE);
        ASSERT_EQ(gOpenDialogs.size(), 1u);
        EXPECT_EQ(gOpenDialogs[0].title, "Restore Database");
        EXPECT_EQ(gOpenDialogs[0].folder, PluginsFolder()) << "where the backups are";
        EXPECT_EQ(gBoxes.back().text, "Database Restored Succesfully");
        EXPECT_EQ(SizeOf(hits), 16) << "the play is back";
      },
      [] { Press(Settings(), IDCANCEL); },
  });
  player->Quit();
  EXPECT_EQ(Saved().backupLast, rec.backupLast) << "Backup Now leaves the schedule alone";
}

TEST_F(SettingsDialogTest, TestThenCancelPutsTheDisplaySettingsBack) {
  player->playlist = {{MakeTrack("one.mp3", "One", "Band", "Album"), 300}};
  SettingsRecord rec = DefaultSettings();
  std::strcpy(rec.txtText, "%title");
  std::strcpy(rec.txtFont, "Tahoma");
  rec.txtTimeEnd = 6, rec.txtSize = 30, rec.txtBg = 0x00102030, rec.txtBold = 0;
  rec.txtX = 70, rec.txtY = 80;
  Start(rec);
  HWND display = DisplayWindow();
  ASSERT_NE(display, nullptr);
  gColorAnswer = RGB(0, 0, 255);
  WithSettings({
      [display] {
        HWND dlg = Settings();
        EXPECT_FALSE(IsWindowVisible(display)) << "config hides the display";
        EXPECT_EQ(PaintedColor(dlg, IDC_SET_COLORSWATCH), 0x00102030u);
        Press(dlg, IDC_SET_COLOR);
        ASSERT_EQ(gColorStarts.size(), 1u);
        EXPECT_EQ(gColorStarts[0], 0x00102030u) << "the chooser starts at the display colour";
        EXPECT_EQ(PaintedColor(dlg, IDC_SET_COLORSWATCH), RGB(0, 0, 255));
        Type(dlg, IDC_SET_TEXT, "Tried");
        Type(dlg, IDC_SET_DURATION, "9");
        Type(dlg, IDC_SET_SIZE, "44");
        Type(dlg, IDC_SET_X, "210");
        Type(dlg, IDC_SET_Y, "220");
        Press(dlg, IDC_SET_BOLD);
        int tahoma = static_cast<int>(SendMessageA(Item(dlg, IDC_SET_FONT), CB_FINDSTRINGEXACT,
                                                   static_cast<WPARAM>(-1),
                                                   reinterpret_cast<LPARAM>("Tahoma")));
        EXPECT_EQ(Selected(dlg, IDC_SET_FONT), tahoma) << "the stored face is selected";
        ChooseEntry(dlg, IDC_SET_FONT, tahoma == 0 ? 1 : 0);
        Press(dlg, IDC_SET_TEST);
        EXPECT_TRUE(IsWindowVisible(display)) << "Test shows the display";
        RECT r = WindowRectOf(display);
        EXPECT_EQ(r.left, 210);
        EXPECT_EQ(r.top, 220);
      },
      [] { Press(Settings(), IDCANCEL); },
  });
  EXPECT_FALSE(IsWindowVisible(display)) << "config hides the display after the dialog";
  player->Quit();
  SettingsRecord saved = Saved();
  EXPECT_STREQ(saved.txtText, "%title");
  EXPECT_STREQ(saved.txtFont, "Tahoma");
  EXPECT_EQ(saved.txtTimeEnd, 6);
  EXPECT_EQ(saved.txtSize, 30);
  EXPECT_EQ(saved.txtBg, 0x00102030u);
  EXPECT_EQ(saved.txtBold, 0);
  EXPECT_EQ(saved.txtX, 70);
  EXPECT_EQ(saved.txtY, 80);
}

}  // namespace
}  // namespace spinox::e2e
