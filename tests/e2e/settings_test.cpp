// Every setting kept from one start to the next: changed through the settings
// dialog, the "Generate HTML" dialog and the options panel, saved by quit, and
// back in the controls after a new start; and Test then Cancel in "Spinox
// Settings" putting the display's settings back.
#include "settings/settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/codepage.h"
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

enum class Do { kType, kSetText, kPress, kChoose, kChooseText, kPickColor, kPickImage };
enum Where { kSettings, kHtml, kPanel };

// One change of the user, the field the settings file keeps it in (null: not
// kept) with the value there, and what the control (or readBack) shows after a
// restart.
struct SettingCase {
  Where where;
  int control;
  Do action;
  const char* input;  // a text, an entry's index, a colour "rrggbb", an image's name
  const char* field;
  const char* saved;
  const char* shown;  // a check box "on"/"off", a list's index, a swatch's
                      // colour "#rrggbb"
  int readBack = 0;
};

// clang-format off
const SettingCase kSettingCases[] = {
    {kSettings, IDC_SET_DISABLE, Do::kPress, "", "_enabled", "0", "on"},
    {kSettings, IDC_SET_SKIP, Do::kPress, "", "_skip", "0", "off"},
    {kSettings, IDC_SET_HIGHLIGHT, Do::kPress, "", "_highlight", "1", "on"},
    {kSettings, IDC_SET_ADDTIME, Do::kType, "75", "_addTime", "-75", "75"},
    {kSettings, IDC_SET_PERCENT, Do::kPress, "", nullptr, "", "on"},
    {kSettings, IDC_SET_BACKUP, Do::kPress, "", "_backup", "1", "on"},
    {kSettings, IDC_SET_BACKUPDAYS, Do::kType, "12", "_backupTime", "12", "12"},
    {kSettings, IDC_SET_OSD, Do::kPress, "", "_txt", "1", "on"},
    {kSettings, IDC_SET_DURATION, Do::kType, "7", "_txt_timeEnd", "7", "7"},
    {kSettings, IDC_SET_FONT, Do::kChooseText, "Tahoma", "_txt_font", "Tahoma", "Tahoma"},
    {kSettings, IDC_SET_SIZE, Do::kType, "33", "_txt_size", "33", "33"},
    {kSettings, IDC_SET_BOLD, Do::kPress, "", "_txt_bold", "0", "off"},
    {kSettings, IDC_SET_COLOR, Do::kPickColor, "123456", "_txt_bg", "0x00563412", "#123456",
     IDC_SET_COLORSWATCH},
    {kSettings, IDC_SET_X, Do::kType, "-20", "_txt_x", "-20", "-20"},
    {kSettings, IDC_SET_Y, Do::kType, "300", "_txt_y", "300", "300"},
    {kSettings, IDC_SET_TEXT, Do::kType, "A %title\rB", "_txt_text", "A %title\nB",
     "A %title\r\nB"},
    {kSettings, IDC_SET_DATEFORMAT, Do::kType, "%Y-%m-%d", "_date", "%Y-%m-%d", "%Y-%m-%d"},
    {kSettings, IDC_SET_TIMEFORMAT, Do::kType, "%H.%M", "_time", "%H.%M", "%H.%M"},
    {kHtml, IDC_HTM_OPENBROWSER, Do::kPress, "", "open_in_browser", "0", "off"},
    {kHtml, IDC_HTM_USETEMPLATE, Do::kPress, "", "use_template", "0", "off"},
    {kHtml, IDC_HTM_TEMPLATE, Do::kSetText, "C:\\templates\\mine.htm", "template_file",
     "C:\\templates\\mine.htm", "C:\\templates\\mine.htm"},
    {kHtml, IDC_HTM_PAGETITLE, Do::kType, "Chart of %type", "page_title", "Chart of %type",
     "Chart of %type"},
    {kHtml, IDC_HTM_PAGEIMGPICK, Do::kPickImage, "page.gif", "page_image_box", "page.gif",
     "page.gif", IDC_HTM_PAGEIMG},
    {kHtml, IDC_HTM_PAGEBG, Do::kType, "ff0000", nullptr, "", ""},
    {kHtml, IDC_HTM_TABLEWIDTH, Do::kType, "640", "table_width", "640", "640"},
    {kHtml, IDC_HTM_TABLEUNIT, Do::kChoose, "1", "width_unit", "1", "1"},
    {kHtml, IDC_HTM_CELLPAD, Do::kType, "5", "cell_padding", "5", "5"},
    {kHtml, IDC_HTM_CELLSPACE, Do::kType, "6", "cell_spacing", "6", "6"},
    {kHtml, IDC_HTM_TABLEALIGN, Do::kChoose, "2", "table_align", "2", "2"},
    {kHtml, IDC_HTM_BORDER, Do::kType, "2", "border_width", "2", "2"},
    {kHtml, IDC_HTM_TABLEBG, Do::kType, "#010203", "_htm_table_bg", "0x00030201", "#010203"},
    {kHtml, IDC_HTM_TABLEBRDPICK, Do::kPickColor, "aabbcc", "_htm_table_brd", "0x00ccbbaa",
     "#aabbcc", IDC_HTM_TABLEBRD},
    {kHtml, IDC_HTM_TABLEIMGPICK, Do::kPickImage, "table.jpg", "table_image_box", "table.jpg",
     "table.jpg", IDC_HTM_TABLEIMG},
    {kHtml, IDC_HTM_TOPFONT, Do::kChooseText, "Verdana, Arial, Helvetica, sans-serif", "top_font",
     "Verdana, Arial, Helvetica, sans-serif", "Verdana, Arial, Helvetica, sans-serif"},
    {kHtml, IDC_HTM_TOPBOLD, Do::kPress, "", "top_bold", "1", "on"},
    {kHtml, IDC_HTM_TOPITALIC, Do::kPress, "", "top_italic", "1", "on"},
    {kHtml, IDC_HTM_TOPALIGN, Do::kChoose, "3", "top_align", "3", "3"},
    {kHtml, IDC_HTM_TOPSIZE, Do::kChoose, "9", "top_font_size", "9", "9"},
    {kHtml, IDC_HTM_TOPFG, Do::kType, "#fefefe", "_htm_top_fg", "0x00fefefe", "#fefefe"},
    {kHtml, IDC_HTM_TOPBGPICK, Do::kPickColor, "010203", "_htm_top_bg", "0x00030201", "#010203",
     IDC_HTM_TOPBG},
    {kHtml, IDC_HTM_TOPIMGPICK, Do::kPickImage, "top.png", "top_image_box", "top.png", "top.png",
     IDC_HTM_TOPIMG},
    {kHtml, IDC_HTM_RESTFONT, Do::kSetText, "My Face, serif", "rest_font", "My Face, serif",
     "My Face, serif"},
    {kHtml, IDC_HTM_RESTBOLD, Do::kPress, "", "rest_bold", "1", "on"},
    {kHtml, IDC_HTM_RESTITALIC, Do::kPress, "", "rest_italic", "1", "on"},
    {kHtml, IDC_HTM_RESTALIGN, Do::kChoose, "1", "rest_align", "1", "1"},
    {kHtml, IDC_HTM_RESTSIZE, Do::kChoose, "19", "rest_font_size", "19", "19"},
    {kHtml, IDC_HTM_RESTFG, Do::kType, "0a0b0c", "_htm_rest_fg", "0x000c0b0a", "#0a0b0c"},
    {kHtml, IDC_HTM_RESTBG, Do::kType, "", "_htm_rest_bg", "0xffffffff", ""},
    {kHtml, IDC_HTM_RESTIMGPICK, Do::kPickImage, "rest.png", "rest_image_box", "rest.png",
     "rest.png", IDC_HTM_RESTIMG},
    {kPanel, IDC_TYPE, Do::kChoose, "0", "_type", "0", "0"},
    {kPanel, IDC_PERIOD, Do::kChoose, "3", "_period", "3", "3"},
    {kPanel, IDC_SHOWTOP, Do::kSetText, "25", "_size", "25", "25"},
    {kPanel, IDC_EXACTTIME, Do::kPress, "", "_check", "2", "on"},
    {kPanel, IDC_LASTPOS, Do::kPress, "", "_pos", "1", "on"},
    {kPanel, IDC_CHANGE, Do::kPress, "", "_change", "1", "on"},
};
// clang-format on

std::string ColorText(COLORREF c) {
  char text[10];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

class SettingsTest : public PluginTest {
 protected:
  HWND Dialog(Where where) {
    return where == kSettings ? SettingsDialog() : where == kHtml ? Html() : Tool();
  }

  void Apply(const SettingCase& c) {
    HWND dlg = Dialog(c.where);
    switch (c.action) {
      case Do::kType:
        Type(dlg, c.control, c.input);
        break;
      case Do::kSetText:
        SetDlgItemTextW(dlg, c.control, WideFromUtf8(c.input).c_str());
        break;
      case Do::kPress:
        Press(dlg, c.control);
        break;
      case Do::kChoose:
        Choose(dlg, c.control, std::atoi(c.input));
        break;
      case Do::kChooseText:
        Choose(dlg, c.control,
               static_cast<int>(
                   SendDlgItemMessageW(dlg, c.control, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(WideFromUtf8(c.input).c_str()))));
        break;
      case Do::kPickColor:
        gWatched.colorAnswer = std::strtoul(c.input, nullptr, 16);
        gWatched.colorAnswer = RGB(GetBValue(gWatched.colorAnswer), GetGValue(gWatched.colorAnswer),
                                   GetRValue(gWatched.colorAnswer));
        Press(dlg, c.control);
        break;
      case Do::kPickImage:
        gWatched.openAnswer = MusicFile(c.input);
        Press(dlg, c.control);
        break;
    }
  }
  void ApplyAll(Where where) {
    for (const SettingCase& c : kSettingCases)
      if (c.where == where) Apply(c);
  }
  void ExpectShown(Where where) {
    HWND dlg = Dialog(where);
    for (const SettingCase& c : kSettingCases) {
      if (c.where != where) continue;
      SCOPED_TRACE(testing::Message() << "control " << c.control);
      int id = c.readBack ? c.readBack : c.control;
      std::string shown = TextOf(dlg, id);
      if (c.action == Do::kPress) shown = IsChecked(dlg, id) ? "on" : "off";
      if (c.action == Do::kChoose) shown = std::to_string(Selected(dlg, id));
      if (c.action == Do::kPickColor && where == kSettings)
        shown = ColorText(PaintedColor(dlg, id));
      EXPECT_EQ(shown, c.shown);
    }
  }
};

TEST_F(SettingsTest, EverySettingComesBackAfterARestart) {
  Start();
  WithSettings({[this] { ApplyAll(kSettings); }, [] { Press(SettingsDialog(), IDOK); }});
  ListCommand(ID_GENERATEHTML);
  ApplyAll(kHtml);
  FocusOn(Html(), IDC_HTM_PAGETITLE);
  Press(Html(), IDCANCEL);
  ApplyAll(kPanel);
  Click(Tool(), IDC_REFRESH);
  SetWindowPos(player->frames[1], nullptr, 40, 60, 420, 330, SWP_NOZORDER | SWP_NOACTIVATE);
  SetWindowPos(player->frames[0], nullptr, 480, 70, 400, 260, SWP_NOZORDER | SWP_NOACTIVATE);
  player->Quit();
  SettingsFile first = Saved();
  for (const SettingCase& c : kSettingCases) {
    if (!c.field) continue;
    EXPECT_EQ(first.Value(c.field), c.saved) << c.field;
  }
  EXPECT_EQ(first.Text("_htm_page_img"), MusicFile("page.gif")) << "the image's own path";
  RECT hit = first.Rect("hitlist_window"), tool = first.Rect("options_panel");
  EXPECT_EQ(hit.left, 40);
  EXPECT_EQ(hit.bottom, 390);
  EXPECT_EQ(tool.left, 480);
  EXPECT_EQ(tool.right, 880);

  Restart();
  EXPECT_EQ(WindowRectOf(player->frames[1]).bottom, 390);
  EXPECT_EQ(WindowRectOf(player->frames[0]).left, 480);
  EXPECT_EQ(LastTray().icon, Icon(IDI_DISABLED));
  ExpectShown(kHtml);
  EXPECT_TRUE(IsOn(Html(), IDC_HTM_PAGETITLE)) << "the template rule follows the loaded box";
  EXPECT_FALSE(IsOn(Html(), IDC_HTM_TEMPLATE));
  EXPECT_FALSE(IsOn(Html(), IDC_HTM_RESTBGSWATCH)) << "no colour";
  EXPECT_EQ(PaintedColor(Html(), IDC_HTM_TABLEBRDSWATCH), RGB(0xaa, 0xbb, 0xcc));
  ExpectShown(kPanel);
  EXPECT_FALSE(IsChecked(Tool(), IDC_DAYS));
  WithSettings({[this] { ExpectShown(kSettings); }});
  player->Quit();
  SettingsFile second = Saved();
  for (const SettingsField& f : SettingsFields())
    EXPECT_EQ(std::memcmp(first.bytes.data() + f.offset, second.bytes.data() + f.offset, f.width),
              0)
        << f.name << " changed from one start to the next";
}

TEST_F(SettingsTest, TestThenCancelPutsTheDisplaySettingsBack) {
  player->playlist = {{MakeTrack(kA), 300}};
  SettingsFile rec = SettingsFile()
                         .Set("_txt_text", "%title")
                         .Set("_txt_font", "Tahoma")
                         .Set("_txt_timeEnd", 6)
                         .Set("_txt_size", 30)
                         .Set("_txt_bg", 0x00102030)
                         .Set("_txt_bold", 0)
                         .Set("_txt_x", 70)
                         .Set("_txt_y", 80);
  Start(rec);
  HWND display = DisplayWindow();
  ASSERT_NE(display, nullptr);
  gWatched.colorAnswer = RGB(0, 0, 255);
  WithSettings({
      [display] {
        HWND dlg = SettingsDialog();
        EXPECT_FALSE(IsWindowVisible(display)) << "config hides the display";
        EXPECT_EQ(PaintedColor(dlg, IDC_SET_COLORSWATCH), 0x00102030u);
        Press(dlg, IDC_SET_COLOR);
        ASSERT_EQ(gWatched.colorStarts.size(), 1u);
        EXPECT_EQ(gWatched.colorStarts[0], 0x00102030u) << "the chooser starts at the colour";
        EXPECT_EQ(PaintedColor(dlg, IDC_SET_COLORSWATCH), RGB(0, 0, 255));
        EXPECT_EQ(TextOf(dlg, IDC_SET_FONT), "Tahoma") << "the stored face is selected";
        for (auto [id, text] : {std::pair<int, const char*>{IDC_SET_TEXT, "Tried"},
                                {IDC_SET_DURATION, "9"},
                                {IDC_SET_SIZE, "44"},
                                {IDC_SET_X, "210"},
                                {IDC_SET_Y, "220"}})
          Type(dlg, id, text);
        Press(dlg, IDC_SET_BOLD);
        SendDlgItemMessageA(dlg, IDC_SET_FONT, CB_SETCURSEL, Selected(dlg, IDC_SET_FONT) ? 0 : 1,
                            0);
        Press(dlg, IDC_SET_TEST);
        EXPECT_TRUE(IsWindowVisible(display)) << "Test shows the display";
        RECT r = WindowRectOf(display);
        EXPECT_EQ(r.left, 210);
        EXPECT_EQ(r.top, 220);
        Press(dlg, IDCANCEL);
      },
  });
  EXPECT_FALSE(IsWindowVisible(display)) << "hidden after the dialog";
  player->Quit();
  SettingsFile saved = Saved();
  for (const char* name : {"_txt_text", "_txt_font", "_txt_timeEnd", "_txt_size", "_txt_bg",
                           "_txt_bold", "_txt_x", "_txt_y"})
    EXPECT_EQ(saved.Value(name), rec.Value(name)) << name;
}

}  // namespace
}  // namespace spinox::e2e
