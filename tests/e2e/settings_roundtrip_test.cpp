// Every setting kept from one start to the next: changed in the settings dialog, the options
// panel and the HTML dialog, saved by quit, and back in the globals, the windows and the
// controls after a new start. Also the old single-file database met at start-up.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/settings_util_win.h"

namespace spinox::e2e {
namespace {

constexpr int kSettingsBytes = 3766;

class RoundTripTest : public DialogTest {
 protected:
  void ChangeSettingsDialog() {
    gColorAnswer = RGB(0x12, 0x34, 0x56);
    WithSettings({
        [] {
          HWND dlg = Settings();
          Press(dlg, IDC_SET_DISABLE);
          Press(dlg, IDC_SET_SKIP);
          Press(dlg, IDC_SET_HIGHLIGHT);
          Type(dlg, IDC_SET_ADDTIME, "75");
          Press(dlg, IDC_SET_PERCENT);
          Press(dlg, IDC_SET_BACKUP);
          Type(dlg, IDC_SET_BACKUPDAYS, "12");
          Press(dlg, IDC_SET_OSD);
          Type(dlg, IDC_SET_DURATION, "7");
          int tahoma = static_cast<int>(SendMessageA(Item(dlg, IDC_SET_FONT), CB_FINDSTRINGEXACT,
                                                     static_cast<WPARAM>(-1),
                                                     reinterpret_cast<LPARAM>("Tahoma")));
          ASSERT_GE(tahoma, 0);
          ChooseEntry(dlg, IDC_SET_FONT, tahoma);
          Type(dlg, IDC_SET_SIZE, "33");
          Press(dlg, IDC_SET_BOLD);
          Press(dlg, IDC_SET_COLOR);
          Type(dlg, IDC_SET_X, "-20");
          Type(dlg, IDC_SET_Y, "300");
          Type(dlg, IDC_SET_TEXT, "A %title\rB");
          Type(dlg, IDC_SET_DATEFORMAT, "%Y-%m-%d");
          Type(dlg, IDC_SET_TIMEFORMAT, "%H.%M");
        },
        [] { Press(Settings(), IDOK); },
    });
  }

  void ChangeOptionsPanel() {
    SetCheck(IDC_EXACTTIME, true);
    SetCheck(IDC_LASTPOS, true);
    SetCheck(IDC_CHANGE, true);
    Refresh(0, 1, 25);
  }

  void PickImage(HWND dlg, int pick, const char* name) {
    gOpenAnswer = MusicFile(name);
    Press(dlg, pick);
  }

  void ChangeHtmlDialog() {
    ListCommand(ID_GENERATEHTML);
    HWND dlg = Html();
    Press(dlg, IDC_HTM_OPENBROWSER);
    Press(dlg, IDC_HTM_USETEMPLATE);
    SetDlgItemTextA(dlg, IDC_HTM_TEMPLATE, "C:\\templates\\mine.htm");
    Type(dlg, IDC_HTM_PAGETITLE, "Chart of %type");
    PickImage(dlg, IDC_HTM_PAGEIMGPICK, "page.gif");
    Type(dlg, IDC_HTM_PAGEBG, "ff0000");
    Type(dlg, IDC_HTM_TABLEWIDTH, "640");
    ChooseEntry(dlg, IDC_HTM_TABLEUNIT, 1);
    Type(dlg, IDC_HTM_CELLPAD, "5");
    Type(dlg, IDC_HTM_CELLSPACE, "6");
    ChooseEntry(dlg, IDC_HTM_TABLEALIGN, 2);
    Type(dlg, IDC_HTM_BORDER, "2");
    Type(dlg, IDC_HTM_TABLEBG, "#010203");
    gColorAnswer = RGB(0xaa, 0xbb, 0xcc);
    Press(dlg, IDC_HTM_TABLEBRDPICK);
    PickImage(dlg, IDC_HTM_TABLEIMGPICK, "table.jpg");
    ChooseEntry(dlg, IDC_HTM_TOPFONT, 5);
    Press(dlg, IDC_HTM_TOPBOLD);
    Press(dlg, IDC_HTM_TOPITALIC);
    ChooseEntry(dlg, IDC_HTM_TOPALIGN, 3);
    ChooseEntry(dlg, IDC_HTM_TOPSIZE, 9);
    Type(dlg, IDC_HTM_TOPFG, "#fefefe");
    gColorAnswer = RGB(1, 2, 3);
    Press(dlg, IDC_HTM_TOPBGPICK);
    PickImage(dlg, IDC_HTM_TOPIMGPICK, "top.png");
    SetDlgItemTextA(dlg, IDC_HTM_RESTFONT, "My Face, serif");
    Press(dlg, IDC_HTM_RESTBOLD);
    ChooseEntry(dlg, IDC_HTM_RESTALIGN, 1);
    ChooseEntry(dlg, IDC_HTM_RESTSIZE, 19);
    Type(dlg, IDC_HTM_RESTFG, "0a0b0c");
    Type(dlg, IDC_HTM_RESTBG, "");
    PickImage(dlg, IDC_HTM_RESTIMGPICK, "rest.png");
    FocusOn(dlg, IDC_HTM_PAGETITLE);
    Press(dlg, IDCANCEL);
  }

  void ExpectSavedValues(const SettingsRecord& r) {
    EXPECT_EQ(r.hitRect.left, 40);
    EXPECT_EQ(r.hitRect.bottom, 390);
    EXPECT_EQ(r.toolRect.left, 480);
    EXPECT_EQ(r.toolRect.right, 880);
    EXPECT_EQ(r.list._type, 0);
    EXPECT_EQ(r.list._period, 1);
    EXPECT_EQ(r.list._size, 25);
    EXPECT_EQ(r.list._check, 2);
    EXPECT_EQ(r.list._pos, 1);
    EXPECT_EQ(r.list._change, 1);
    EXPECT_EQ(r.enabled, 0);
    EXPECT_EQ(r.skip, 0);
    EXPECT_EQ(r.highlight, 1);
    EXPECT_EQ(r.addTime, -75);
    EXPECT_EQ(r.backup, 1);
    EXPECT_EQ(r.backupTime, 12);
    EXPECT_EQ(r.txt, 1);
    EXPECT_STREQ(r.txtText, "A %title\nB");
    EXPECT_EQ(r.txtTimeEnd, 7);
    EXPECT_EQ(r.txtSize, 33);
    EXPECT_EQ(r.txtBg, RGB(0x12, 0x34, 0x56));
    EXPECT_STREQ(r.txtFont, "Tahoma");
    EXPECT_EQ(r.txtBold, 0);
    EXPECT_EQ(r.txtX, -20);
    EXPECT_EQ(r.txtY, 300);
    EXPECT_STREQ(r.date, "%Y-%m-%d");
    EXPECT_STREQ(r.time, "%H.%M");
    EXPECT_EQ(r.htmTableBg, 0x00030201u);
    EXPECT_EQ(r.htmTableBrd, RGB(0xaa, 0xbb, 0xcc));
    EXPECT_EQ(r.htmTopFg, 0x00fefefeu);
    EXPECT_EQ(r.htmTopBg, RGB(1, 2, 3));
    EXPECT_EQ(r.htmRestFg, 0x000c0b0au);
    EXPECT_EQ(r.htmRestBg, 0xFFFFFFFFu);
    EXPECT_EQ(r.htmPageImg, MusicFile("page.gif"));
    EXPECT_EQ(r.htmTableImg, MusicFile("table.jpg"));
    EXPECT_EQ(r.htmTopImg, MusicFile("top.png"));
    EXPECT_EQ(r.htmRestImg, MusicFile("rest.png"));
    const HtmlSettings& h = r.html;
    EXPECT_STREQ(h.pageImgBox, "page.gif");
    EXPECT_STREQ(h.tableImgBox, "table.jpg");
    EXPECT_STREQ(h.topImgBox, "top.png");
    EXPECT_STREQ(h.restImgBox, "rest.png");
    EXPECT_EQ(h.openInBrowser, 0);
    EXPECT_EQ(h.useTemplate, 0);
    EXPECT_STREQ(h.templateFile, "C:\\templates\\mine.htm");
    EXPECT_STREQ(h.pageTitle, "Chart of %type");
    EXPECT_EQ(h.tableWidth, 640);
    EXPECT_EQ(h.widthUnit, 1);
    EXPECT_EQ(h.tableAlign, 2);
    EXPECT_EQ(h.cellPadding, 5);
    EXPECT_EQ(h.cellSpacing, 6);
    EXPECT_EQ(h.borderWidth, 2);
    EXPECT_STREQ(h.topFont, "Verdana, Arial, Helvetica, sans-serif");
    EXPECT_STREQ(h.restFont, "My Face, serif");
    EXPECT_EQ(h.topBold, 1);
    EXPECT_EQ(h.topItalic, 1);
    EXPECT_EQ(h.restBold, 1);
    EXPECT_EQ(h.restItalic, 0);
    EXPECT_EQ(h.topAlign, 3);
    EXPECT_EQ(h.topFontSize, 9);
    EXPECT_EQ(h.restAlign, 1);
    EXPECT_EQ(h.restFontSize, 19);
  }

  void ExpectHtmlDialogBack() {
    HWND dlg = Html();
    EXPECT_FALSE(IsChecked(dlg, IDC_HTM_OPENBROWSER));
    EXPECT_FALSE(IsChecked(dlg, IDC_HTM_USETEMPLATE));
    EXPECT_TRUE(IsOn(dlg, IDC_HTM_PAGETITLE)) << "the template rule follows the loaded box";
    EXPECT_FALSE(IsOn(dlg, IDC_HTM_TEMPLATE));
    EXPECT_EQ(TextOf(dlg, IDC_HTM_TEMPLATE), "C:\\templates\\mine.htm");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_PAGETITLE), "Chart of %type");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_PAGEIMG), "page.gif");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_PAGEBG), "") << "the page colour is not kept";
    EXPECT_FALSE(IsOn(dlg, IDC_HTM_PAGEBGSWATCH));
    EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEWIDTH), "640");
    EXPECT_EQ(Selected(dlg, IDC_HTM_TABLEUNIT), 1);
    EXPECT_EQ(TextOf(dlg, IDC_HTM_CELLPAD), "5");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_CELLSPACE), "6");
    EXPECT_EQ(Selected(dlg, IDC_HTM_TABLEALIGN), 2);
    EXPECT_EQ(TextOf(dlg, IDC_HTM_BORDER), "2");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEBG), "#010203");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEBRD), "#aabbcc");
    EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TABLEBRDSWATCH), RGB(0xaa, 0xbb, 0xcc));
    EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEIMG), "table.jpg");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_TOPFONT), "Verdana, Arial, Helvetica, sans-serif");
    EXPECT_TRUE(IsChecked(dlg, IDC_HTM_TOPBOLD));
    EXPECT_TRUE(IsChecked(dlg, IDC_HTM_TOPITALIC));
    EXPECT_EQ(Selected(dlg, IDC_HTM_TOPALIGN), 3);
    EXPECT_EQ(Selected(dlg, IDC_HTM_TOPSIZE), 9);
    EXPECT_EQ(TextOf(dlg, IDC_HTM_TOPFG), "#fefefe");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_TOPBG), "#010203");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_TOPIMG), "top.png");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_RESTFONT), "My Face, serif");
    EXPECT_TRUE(IsChecked(dlg, IDC_HTM_RESTBOLD));
    EXPECT_FALSE(IsChecked(dlg, IDC_HTM_RESTITALIC));
    EXPECT_EQ(Selected(dlg, IDC_HTM_RESTALIGN), 1);
    EXPECT_EQ(Selected(dlg, IDC_HTM_RESTSIZE), 19);
    EXPECT_EQ(TextOf(dlg, IDC_HTM_RESTFG), "#0a0b0c");
    EXPECT_EQ(TextOf(dlg, IDC_HTM_RESTBG), "");
    EXPECT_FALSE(IsOn(dlg, IDC_HTM_RESTBGSWATCH));
    EXPECT_EQ(TextOf(dlg, IDC_HTM_RESTIMG), "rest.png");
  }

  void ExpectSettingsDialogBack() {
    WithSettings({
        [] {
          HWND dlg = Settings();
          EXPECT_TRUE(IsChecked(dlg, IDC_SET_DISABLE));
          EXPECT_FALSE(IsChecked(dlg, IDC_SET_SKIP));
          EXPECT_TRUE(IsChecked(dlg, IDC_SET_HIGHLIGHT));
          EXPECT_EQ(TextOf(dlg, IDC_SET_ADDTIME), "75");
          EXPECT_TRUE(IsChecked(dlg, IDC_SET_PERCENT));
          EXPECT_TRUE(IsChecked(dlg, IDC_SET_BACKUP));
          EXPECT_EQ(TextOf(dlg, IDC_SET_BACKUPDAYS), "12");
          EXPECT_TRUE(IsChecked(dlg, IDC_SET_OSD));
          EXPECT_EQ(TextOf(dlg, IDC_SET_DURATION), "7");
          EXPECT_EQ(TextOf(dlg, IDC_SET_FONT), "Tahoma");
          EXPECT_EQ(TextOf(dlg, IDC_SET_SIZE), "33");
          EXPECT_FALSE(IsChecked(dlg, IDC_SET_BOLD));
          EXPECT_EQ(PaintedColor(dlg, IDC_SET_COLORSWATCH), RGB(0x12, 0x34, 0x56));
          EXPECT_EQ(TextOf(dlg, IDC_SET_X), "-20");
          EXPECT_EQ(TextOf(dlg, IDC_SET_Y), "300");
          EXPECT_EQ(TextOf(dlg, IDC_SET_TEXT), "A %title\r\nB");
          EXPECT_EQ(TextOf(dlg, IDC_SET_DATEFORMAT), "%Y-%m-%d");
          EXPECT_EQ(TextOf(dlg, IDC_SET_TIMEFORMAT), "%H.%M");
          Press(dlg, IDCANCEL);
        },
    });
  }

  void ExpectOptionsPanelBack() {
    EXPECT_EQ(ComboText(Tool(), IDC_TYPE), "Songs");
    EXPECT_EQ(ComboText(Tool(), IDC_PERIOD), "Week");
    EXPECT_EQ(TextOf(Tool(), IDC_SHOWTOP), "25");
    EXPECT_TRUE(Checked(IDC_EXACTTIME));
    EXPECT_FALSE(Checked(IDC_DAYS));
    EXPECT_TRUE(Checked(IDC_LASTPOS));
    EXPECT_TRUE(Checked(IDC_CHANGE));
  }
};

TEST_F(RoundTripTest, EverySettingComesBackAfterARestart) {
  Start();
  ChangeSettingsDialog();
  ChangeOptionsPanel();
  ChangeHtmlDialog();
  SetWindowPos(player->frames[1], nullptr, 40, 60, 420, 330, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(player->frames[0], nullptr, 480, 70, 400, 260, SWP_NOZORDER | SWP_NOACTIVATE);
  player->Quit();
  std::vector<unsigned char> first = ReadAll(DataFile("gen_spinox.dat"));
  ASSERT_EQ(first.size(), static_cast<size_t>(kSettingsBytes));
  SettingsRecord saved = {};
  ASSERT_TRUE(ParseSettings(first.data(), first.size(), &saved));
  ExpectSavedValues(saved);

  Restart();
  RECT hit = WindowRectOf(player->frames[1]), tool = WindowRectOf(player->frames[0]);
  EXPECT_EQ(hit.left, 40);
  EXPECT_EQ(hit.bottom, 390);
  EXPECT_EQ(tool.left, 480);
  EXPECT_EQ(tool.bottom, 330);
  EXPECT_EQ(LastTray().icon, Icon(IDI_DISABLED));
  ExpectHtmlDialogBack();
  ExpectSettingsDialogBack();
  ExpectOptionsPanelBack();
  player->Quit();
  std::vector<unsigned char> second = ReadAll(DataFile("gen_spinox.dat"));
  ASSERT_EQ(second.size(), first.size());
  for (const SettingsField& f : SettingsFields()) {
    EXPECT_EQ(std::memcmp(first.data() + f.offset, second.data() + f.offset, f.width), 0)
        << f.name << " changed from one start to the next";
  }
}

TEST_F(RoundTripTest, AnOldDatabaseIsConvertedAndTheDefaultsTaken) {
  // The old single file: a skipped block, then one hit and no songs, artists or albums.
  std::vector<unsigned char> old = {4, 0, 0, 0, 'o', 'l', 'd', '!', 1, 0, 0, 0};
  HitRecord hit = {};
  hit.songId = hit.albumId = hit.artistId = 0;
  hit.time = 1700000000;
  const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&hit);
  old.insert(old.end(), bytes, bytes + sizeof hit);
  for (int i = 0; i < 3; ++i) old.insert(old.end(), {0, 0, 0, 0});
  {
    std::ofstream out(DataFile("gen_spinox.dat"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(old.data()), static_cast<std::streamsize>(old.size()));
  }
  StartPlugin();
  EXPECT_EQ(ReadAll(DataFile("gen_spinox.hit")),
            std::vector<unsigned char>(bytes, bytes + sizeof hit));
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.dat")), 4) << "the magic alone until shutdown";
  HWND dlg = Html();
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TOPBG), "#0000a0") << "the defaults";
  player->Quit();
  SettingsRecord saved = Saved();
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.dat")), kSettingsBytes);
  EXPECT_EQ(saved.addTime, 60);
  EXPECT_EQ(saved.txtSize, 50);
  EXPECT_EQ(saved.enabled, 1);
}

TEST_F(RoundTripTest, AShortFileKeepsWhatItHoldsAndDefaultsTheRest) {
  SettingsRecord rec = DefaultSettings();
  rec.addTime = 33;
  rec.html.tableWidth = 55;
  std::vector<unsigned char> bytes(reinterpret_cast<unsigned char*>(&rec),
                                   reinterpret_cast<unsigned char*>(&rec) + 3000);
  {
    std::ofstream out(DataFile("gen_spinox.dat"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  StartPlugin();
  EXPECT_EQ(TextOf(Html(), IDC_HTM_TABLEWIDTH), "55");
  player->Quit();
  SettingsRecord saved = Saved();
  EXPECT_EQ(saved.html.tableWidth, 55);
  EXPECT_EQ(saved.addTime, 60) << "past the end of the short file: the default";
}

}  // namespace
}  // namespace spinox::e2e
