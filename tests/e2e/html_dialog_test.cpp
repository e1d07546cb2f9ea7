// "Generate HTML" through the real dialog: its lists, the colour settings with their edits,
// swatches and chooser, the template rule, the images copied beside the page, and the page
// written from the list view on show.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/settings_util_win.h"

namespace spinox::e2e {
namespace {

std::string ReadText(const std::string& path) {
  std::vector<unsigned char> bytes = ReadAll(path);
  return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The <table ...> tag of a page.
std::string TableTag(const std::string& page) {
  size_t at = page.find("<table ");
  return at == std::string::npos ? std::string() : page.substr(at, page.find('>', at) - at + 1);
}

class HtmlDialogTest : public DialogTest {
 protected:
  // Two songs played, the song list of all time on show, and the dialog opened from the list.
  HWND Open(const SettingsRecord& rec = DefaultSettings()) {
    Record({"one.mp3", "One", "Band", "Album"}, now - 2 * kDay);
    Record({"two.mp3", "Two & Co", "Band", "Album"}, now - kDay);
    Record({"one.mp3", "One", "Band", "Album"}, now - kHour);
    Start(rec);
    Refresh(0, 4);
    return Show();
  }
  HWND Show() {
    ListCommand(ID_GENERATEHTML);
    HWND dlg = Html();
    EXPECT_NE(dlg, nullptr);
    EXPECT_TRUE(IsWindowVisible(dlg));
    return dlg;
  }
  // Types a colour text and leaves the edit.
  void TypeColor(HWND dlg, int edit, const std::string& text) {
    Type(dlg, edit, text);
    FocusOn(dlg, IDC_HTM_PAGETITLE);
  }
  // "Generate" with `path` chosen in the save dialog; the page's text.
  std::string Generate(HWND dlg, const std::string& path) {
    gSaveAnswer = path;
    Press(dlg, IDOK);
    player->Pump();
    EXPECT_FALSE(IsWindowVisible(dlg)) << "hidden after Generate";
    return ReadText(path);
  }
  std::string Out(const std::string& name) {
    std::string folder = MusicFile("out");
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder + "\\" + name;
  }
};

TEST_F(HtmlDialogTest, ListsHintAndTheDefaultsAfterStartUp) {
  StartPlugin();
  HWND dlg = Html();
  ASSERT_NE(dlg, nullptr);
  EXPECT_FALSE(IsWindowVisible(dlg)) << "hidden until asked for";
  EXPECT_EQ(ComboEntries(dlg, IDC_HTM_TABLEUNIT), (std::vector<std::string>{"%", "pixels"}));
  std::vector<std::string> aligns = {"Default", "Left", "Center", "Right"};
  for (int id : {IDC_HTM_TABLEALIGN, IDC_HTM_TOPALIGN, IDC_HTM_RESTALIGN}) {
    EXPECT_EQ(ComboEntries(dlg, id), aligns) << id;
    EXPECT_EQ(Selected(dlg, id), 0) << id;
  }
  std::vector<std::string> sizes = ComboEntries(dlg, IDC_HTM_TOPSIZE);
  ASSERT_EQ(sizes.size(), 22u);
  EXPECT_EQ(sizes[0], "None");
  EXPECT_EQ(sizes[7], "7");
  EXPECT_EQ(sizes[8], "+1");
  EXPECT_EQ(sizes[21], "-7");
  EXPECT_EQ(ComboEntries(dlg, IDC_HTM_RESTSIZE), sizes);

  std::vector<std::string> fonts = {"Default Font",
                                    "Arial, Helvetica, sans-serif",
                                    "Times New Roman, Times, serif",
                                    "Courier New, Courier, mono",
                                    "Georgia, Times New Roman, Times, serif",
                                    "Verdana, Arial, Helvetica, sans-serif",
                                    "Geneva, Arial, Helvetica, sans-serif"};
  std::vector<std::string> installed = ComboEntries(dlg, IDC_HTM_FONTSOURCE);
  EXPECT_FALSE(IsShown(dlg, IDC_HTM_FONTSOURCE));
  ASSERT_FALSE(installed.empty());
  EXPECT_NE(std::find(installed.begin(), installed.end(), "Tahoma"), installed.end());
  fonts.insert(fonts.end(), installed.begin(), installed.end());
  EXPECT_EQ(ComboEntries(dlg, IDC_HTM_TOPFONT), fonts);
  EXPECT_EQ(ComboEntries(dlg, IDC_HTM_RESTFONT), fonts);
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TOPFONT), "Default Font");
  EXPECT_EQ(TextOf(dlg, IDC_HTM_HINT),
            "Tags: %sdate, %edate, %type, %filter\n%size, %table, %date, %time,");

  EXPECT_EQ(TextOf(dlg, IDC_HTM_TEMPLATE), DataFile("spinoxsampletemplate.htm"));
  EXPECT_EQ(TextOf(dlg, IDC_HTM_PAGETITLE), "Top %size %type ( %sdate - %edate )");
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEWIDTH), "90");
  EXPECT_TRUE(IsChecked(dlg, IDC_HTM_OPENBROWSER));
  EXPECT_TRUE(IsChecked(dlg, IDC_HTM_USETEMPLATE));
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TOPFG), "#ffffff");
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TOPBG), "#0000a0");
  EXPECT_EQ(TextOf(dlg, IDC_HTM_RESTBG), "#0066ff");
  EXPECT_EQ(TextOf(dlg, IDC_HTM_RESTFG), "");
  EXPECT_EQ(TextOf(dlg, IDC_HTM_PAGEBG), "");
  for (int id : {IDC_HTM_TOPFGSWATCH, IDC_HTM_TOPBGSWATCH, IDC_HTM_RESTBGSWATCH})
    EXPECT_TRUE(IsOn(dlg, id)) << id;
  for (int id :
       {IDC_HTM_PAGEBGSWATCH, IDC_HTM_TABLEBGSWATCH, IDC_HTM_TABLEBRDSWATCH, IDC_HTM_RESTFGSWATCH})
    EXPECT_FALSE(IsOn(dlg, id)) << id << ": no colour";
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TOPBGSWATCH), 0x00A00000u);
}

TEST_F(HtmlDialogTest, ColourEditsColourTheSwatchAndThePage) {
  HWND dlg = Open();
  Press(dlg, IDC_HTM_USETEMPLATE);  // the built-in page
  TypeColor(dlg, IDC_HTM_TABLEBG, "00ff00");
  EXPECT_TRUE(IsOn(dlg, IDC_HTM_TABLEBGSWATCH));
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TABLEBGSWATCH), RGB(0, 255, 0));
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TABLEBGSWATCH, WM_CTLCOLOREDIT), RGB(0, 255, 0));
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEBG), "00ff00") << "the text stays as typed";
  TypeColor(dlg, IDC_HTM_RESTFG, "#12");
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_RESTFGSWATCH), RGB(0x12, 0, 0));
  TypeColor(dlg, IDC_HTM_PAGEBG, "ff");
  EXPECT_TRUE(IsOn(dlg, IDC_HTM_PAGEBGSWATCH));

  std::string page = Generate(dlg, Out("chart.htm"));
  ASSERT_EQ(gSaveDialogs.size(), 1u);
  EXPECT_STREQ(gSaveDialogs[0].lpstrTitle, "Save as html");
  EXPECT_EQ(JoinFilter(gSaveDialogs[0].lpstrFilter), "Html Files|*.htm;*.html|All Files|*.*|");
  EXPECT_NE(TableTag(page).find("bgcolor=\"#00ff00\""), std::string::npos) << TableTag(page);
  EXPECT_NE(page.find("color=\"#120000\""), std::string::npos);
  EXPECT_NE(page.find("<body bgcolor=\"#ff0000\">"), std::string::npos);
  std::string lower = page;
  CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
  EXPECT_NE(lower.find(">two &amp; co<"), std::string::npos) << "the rows of the list on show";
  EXPECT_LT(lower.find(">one<"), lower.find(">two &amp; co<")) << "in the list's order";
  EXPECT_NE(page.find("\r\n"), std::string::npos);
  ASSERT_EQ(GetACP(), 1252u) << "a Western system";
  EXPECT_NE(page.find("content=\"text/html; charset=windows-1252\">"), std::string::npos)
      << "the ANSI code page the texts are in";
  ASSERT_EQ(gShellOpened.size(), 1u) << "opened in the browser";
  EXPECT_EQ(gShellOpened[0], Out("chart.htm"));

  dlg = Show();
  TypeColor(dlg, IDC_HTM_TABLEBG, "");
  EXPECT_FALSE(IsOn(dlg, IDC_HTM_TABLEBGSWATCH)) << "no colour: the swatch is disabled";
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TABLEBGSWATCH), PaintedColor(dlg, IDC_HTM_TABLEIMG))
      << "painted as any read-only box";
  Press(dlg, IDC_HTM_OPENBROWSER);
  page = Generate(dlg, Out("plain.htm"));
  EXPECT_EQ(TableTag(page).find("bgcolor"), std::string::npos) << TableTag(page);
  EXPECT_EQ(page.find("#00ff00"), std::string::npos);
  EXPECT_EQ(gShellOpened.size(), 1u) << "not opened when the box is unchecked";
}

TEST_F(HtmlDialogTest, TheChooserSetsTheColourAndCancelKeepsIt) {
  Start();
  HWND dlg = Html();
  gColorAnswer = RGB(0xab, 0xcd, 0xef);
  Press(dlg, IDC_HTM_TABLEBRDPICK);
  ASSERT_EQ(gColorStarts.size(), 1u);
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEBRD), "#abcdef");
  EXPECT_TRUE(IsOn(dlg, IDC_HTM_TABLEBRDSWATCH));
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TABLEBRDSWATCH), RGB(0xab, 0xcd, 0xef));
  Press(dlg, IDC_HTM_TOPBGPICK);
  EXPECT_EQ(gColorStarts.back(), 0x00A00000u) << "the chooser starts at the current colour";
  gColorChosen = false;
  gColorAnswer = RGB(1, 1, 1);
  Press(dlg, IDC_HTM_TABLEBRDPICK);
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEBRD), "#abcdef") << "cancel changes nothing";
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TABLEBRDSWATCH), RGB(0xab, 0xcd, 0xef));
}

TEST_F(HtmlDialogTest, TheTemplateRuleSwitchesThePageControls) {
  Start();
  HWND dlg = Html();
  ShowWindow(dlg, SW_SHOW);
  const int page[] = {IDC_HTM_PAGETITLE, IDC_HTM_PAGEIMGPICK, IDC_HTM_PAGEBGPICK, IDC_HTM_PAGEBG};
  auto expectTemplateMode = [&](bool on) {
    EXPECT_EQ(IsOn(dlg, IDC_HTM_TEMPLATE), on);
    EXPECT_EQ(IsOn(dlg, IDC_HTM_TEMPLATEPICK), on);
    for (int id : page) EXPECT_EQ(IsOn(dlg, id), !on) << id;
  };
  expectTemplateMode(true);
  EXPECT_FALSE(IsOn(dlg, IDC_HTM_PAGEBGSWATCH));
  Press(dlg, IDC_HTM_USETEMPLATE);
  expectTemplateMode(false);
  EXPECT_FALSE(IsOn(dlg, IDC_HTM_PAGEBGSWATCH)) << "no page colour yet";
  TypeColor(dlg, IDC_HTM_PAGEBG, "336699");
  EXPECT_TRUE(IsOn(dlg, IDC_HTM_PAGEBGSWATCH));
  Press(dlg, IDC_HTM_USETEMPLATE);
  expectTemplateMode(true);
  EXPECT_FALSE(IsOn(dlg, IDC_HTM_PAGEBGSWATCH));
  Press(dlg, IDC_HTM_USETEMPLATE);
  EXPECT_TRUE(IsOn(dlg, IDC_HTM_PAGEBGSWATCH)) << "a page colour is set";

  gOpenAnswer = MakeTrack("mine.htm", nullptr, nullptr, nullptr);
  Press(dlg, IDC_HTM_TEMPLATEPICK);
  ASSERT_EQ(gOpenDialogs.size(), 1u);
  EXPECT_EQ(gOpenDialogs[0].title, "Select Template File");
  EXPECT_EQ(gOpenDialogs[0].filter, "Html Files|*.htm;*html|All Files|*.*|");
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TEMPLATE), gOpenAnswer);
}

TEST_F(HtmlDialogTest, TemplatesTheSampleAndAMissingOne) {
  HWND dlg = Open();
  std::string page = Generate(dlg, Out("sample.htm"));
  EXPECT_NE(page.find(">One<"), std::string::npos) << "the sample template, installed for it";
  EXPECT_NE(page.find("content=\"text/html; charset=windows-1252\">"), std::string::npos);
  EXPECT_GT(SizeOf(DataFile("spinoxsampletemplate.htm")), 0);

  dlg = Show();
  SetDlgItemTextA(dlg, IDC_HTM_TEMPLATE, MusicFile("missing.htm").c_str());
  gBoxes.clear();
  page = Generate(dlg, Out("nothing.htm"));
  ASSERT_EQ(gBoxes.size(), 1u);
  EXPECT_EQ(gBoxes[0].text, "Could not read the template file '" + MusicFile("missing.htm") +
                                "': No such file or directory");
  EXPECT_EQ(gBoxes[0].caption, "Error Writing File");
  EXPECT_EQ(gBoxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
  EXPECT_EQ(SizeOf(Out("nothing.htm")), -1) << "no output is written";
  EXPECT_EQ(gShellOpened.size(), 1u) << "only the first page was opened";

  dlg = Show();
  size_t saves = gSaveDialogs.size();
  gSaveAnswer.clear();
  Press(dlg, IDOK);
  EXPECT_EQ(gSaveDialogs.size(), saves + 1);
  EXPECT_FALSE(IsWindowVisible(dlg)) << "cancel in the save dialog hides the dialog";
  EXPECT_EQ(gShellOpened.size(), 1u);
  dlg = Show();
  Press(dlg, IDCANCEL);
  EXPECT_FALSE(IsWindowVisible(dlg)) << "Close";
}

TEST_F(HtmlDialogTest, ChosenImagesAreCopiedBesideThePageKeepingExistingFiles) {
  HWND dlg = Open();
  std::string image = MusicFile("table.png");
  WriteText(image, "table image");
  gOpenAnswer = image;
  Press(dlg, IDC_HTM_TABLEIMGPICK);
  ASSERT_EQ(gOpenDialogs.size(), 1u);
  EXPECT_EQ(gOpenDialogs[0].title, "Select Image");
  EXPECT_EQ(gOpenDialogs[0].filter, "Image Files|*.gif;*.jpg;*.jpeg;*.png|All Files|*.*|");
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEIMG), "table.png") << "the box shows the name only";
  gOpenAnswer.clear();
  Press(dlg, IDC_HTM_TOPIMGPICK);
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TOPIMG), "") << "cancel changes nothing";

  std::string first = MusicFile("first");
  CreateDirectoryA(first.c_str(), nullptr);
  std::string page = Generate(dlg, first + "\\page.htm");
  EXPECT_NE(TableTag(page).find("background=\"table.png\""), std::string::npos);
  EXPECT_EQ(ReadText(first + "\\table.png"), "table image") << "copied in template mode too";

  std::string second = MusicFile("second");
  CreateDirectoryA(second.c_str(), nullptr);
  WriteText(second + "\\table.png", "older file");
  dlg = Show();
  Press(dlg, IDC_HTM_USETEMPLATE);
  Generate(dlg, second + "\\page.htm");
  EXPECT_EQ(ReadText(second + "\\table.png"), "older file") << "an existing file is kept";
}

TEST_F(HtmlDialogTest, AStoredImageNameNeverLeadsOutOfThePageFolder) {
  std::string image = MusicFile("pic.png");
  SettingsRecord rec = DefaultSettings();
  std::strcpy(rec.htmRestImg, image.c_str());
  std::strcpy(rec.html.restImgBox, "..\\escaped.png");
  rec.html.useTemplate = 0;
  HWND dlg = Open(rec);
  WriteText(image, "picture");
  std::string folder = MusicFile("deep");
  CreateDirectoryA(folder.c_str(), nullptr);
  Generate(dlg, folder + "\\page.htm");
  EXPECT_EQ(SizeOf(MusicFile("escaped.png")), -1);
  EXPECT_EQ(ReadText(folder + "\\escaped.png"), "picture");
}

}  // namespace
}  // namespace spinox::e2e
