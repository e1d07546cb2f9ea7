// "Generate HTML" through the real dialog: the colour settings with their edits, swatches and
// chooser, the images copied beside the page, and the page written from the list view on show.
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

// The <table ...> tag of a page.
std::string TableTag(const std::string& page) {
  size_t at = page.find("<table ");
  return at == std::string::npos ? std::string() : page.substr(at, page.find('>', at) - at + 1);
}

class HtmlDialogTest : public PluginTest {
 protected:
  // Two songs played, the song list of all time on show, and the dialog opened from the list.
  HWND Open(const SettingsFile& settings = SettingsFile()) {
    Record({"one.mp3", "One", "Band", "Album"}, now - 2 * kDay);
    Record({"two.mp3", "Two & Co", "Band", "Album"}, now - kDay);
    Record({"one.mp3", "One", "Band", "Album"}, now - kHour);
    Start(settings);
    Refresh(0, 4);
    return Show();
  }
  HWND Show() {
    ListCommand(ID_GENERATEHTML);
    EXPECT_TRUE(IsWindowVisible(Html()));
    return Html();
  }
  // Types a colour text and leaves the edit.
  void TypeColor(HWND dlg, int edit, const std::string& text) {
    Type(dlg, edit, text);
    FocusOn(dlg, IDC_HTM_PAGETITLE);
  }
  // "Generate" with `path` chosen in the save dialog; the page's text.
  std::string Generate(HWND dlg, const std::string& path) {
    gWatched.saveAnswer = path;
    Press(dlg, IDOK);
    player->Pump();
    EXPECT_FALSE(IsWindowVisible(dlg)) << "hidden after Generate";
    return ReadText(path);
  }
  std::string Folder(const std::string& name) {
    std::string folder = MusicFile(name);
    EXPECT_TRUE(MakeFolder(folder)) << folder;
    return folder;
  }
};

TEST_F(HtmlDialogTest, ColourEditsColourTheSwatchAndThePage) {
  HWND dlg = Open();
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TOPBGSWATCH), 0x00A00000u) << "the stored colour";
  Press(dlg, IDC_HTM_USETEMPLATE);  // the built-in page
  TypeColor(dlg, IDC_HTM_TABLEBG, "00ff00");
  EXPECT_TRUE(IsOn(dlg, IDC_HTM_TABLEBGSWATCH));
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TABLEBGSWATCH), RGB(0, 255, 0));
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TABLEBGSWATCH, WM_CTLCOLOREDIT), RGB(0, 255, 0));
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEBG), "00ff00") << "the text stays as typed";
  TypeColor(dlg, IDC_HTM_RESTFG, "#12");
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_RESTFGSWATCH), RGB(0x12, 0, 0));
  TypeColor(dlg, IDC_HTM_PAGEBG, "ff");

  std::string page = Generate(dlg, Folder("out") + "\\chart.htm");
  ASSERT_EQ(gWatched.saves.size(), 1u);
  EXPECT_EQ(gWatched.saves[0].title, "Save as html");
  EXPECT_EQ(gWatched.saves[0].filter, "Html Files|*.htm;*.html|All Files|*.*|");
  EXPECT_NE(TableTag(page).find("bgcolor=\"#00ff00\""), std::string::npos) << TableTag(page);
  EXPECT_NE(page.find("color=\"#120000\""), std::string::npos);
  EXPECT_NE(page.find("<body bgcolor=\"#ff0000\">"), std::string::npos);
  std::string lower = page;
  for (char& ch : lower)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');  // UTF-8 kept whole
  EXPECT_NE(lower.find(">two &amp; co<"), std::string::npos) << "the rows of the list on show";
  EXPECT_LT(lower.find(">one<"), lower.find(">two &amp; co<")) << "in the list's order";
  EXPECT_NE(page.find("\r\n"), std::string::npos);
  EXPECT_NE(page.find("content=\"text/html; charset=utf-8\">"), std::string::npos)
      << "the texts are UTF-8";
  EXPECT_EQ(gWatched.shellOpened, Cells{MusicFile("out\\chart.htm")}) << "opened in the browser";

  dlg = Show();
  TypeColor(dlg, IDC_HTM_TABLEBG, "");
  EXPECT_FALSE(IsOn(dlg, IDC_HTM_TABLEBGSWATCH)) << "no colour: the swatch is disabled";
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TABLEBGSWATCH), PaintedColor(dlg, IDC_HTM_TABLEIMG))
      << "painted as any read-only box";
  Press(dlg, IDC_HTM_OPENBROWSER);
  page = Generate(dlg, MusicFile("out\\plain.htm"));
  EXPECT_EQ(TableTag(page).find("bgcolor"), std::string::npos) << TableTag(page);
  EXPECT_EQ(gWatched.shellOpened.size(), 1u) << "not opened when the box is unchecked";

  // The chooser starts at the current colour and sets it; cancelled, it changes nothing.
  dlg = Show();
  gWatched.colorAnswer = RGB(0xab, 0xcd, 0xef);
  Press(dlg, IDC_HTM_TABLEBRDPICK);
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEBRD), "#abcdef");
  EXPECT_EQ(PaintedColor(dlg, IDC_HTM_TABLEBRDSWATCH), RGB(0xab, 0xcd, 0xef));
  Press(dlg, IDC_HTM_TOPBGPICK);
  EXPECT_EQ(gWatched.colorStarts.back(), 0x00A00000u) << "the chooser starts at the colour";
  gWatched.colorChosen = false;
  Press(dlg, IDC_HTM_TABLEBRDPICK);
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEBRD), "#abcdef") << "cancel changes nothing";
}

TEST_F(HtmlDialogTest, ChosenImagesAreCopiedBesideThePageKeepingExistingFiles) {
  // A stored image box name never leads out of the page's folder.
  std::string rest = MusicFile("pic.png");
  HWND dlg = Open(SettingsFile()
                      .Set("_htm_rest_img", rest)
                      .Set("rest_image_box", "..\\escaped.png")
                      .Set("use_template", 0));
  WriteText(rest, "picture");
  std::string image = MusicFile("table.png");
  WriteText(image, "table image");
  gWatched.openAnswer = image;
  Press(dlg, IDC_HTM_TABLEIMGPICK);
  ASSERT_EQ(gWatched.opens.size(), 1u);
  EXPECT_EQ(gWatched.opens[0].title, "Select Image");
  EXPECT_EQ(gWatched.opens[0].filter, "Image Files|*.gif;*.jpg;*.jpeg;*.png|All Files|*.*|");
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TABLEIMG), "table.png") << "the box shows the name only";
  gWatched.openAnswer.clear();
  Press(dlg, IDC_HTM_TOPIMGPICK);
  EXPECT_EQ(TextOf(dlg, IDC_HTM_TOPIMG), "") << "cancel changes nothing";

  std::string first = Folder("first");
  std::string page = Generate(dlg, first + "\\page.htm");
  EXPECT_NE(TableTag(page).find("background=\"table.png\""), std::string::npos);
  EXPECT_EQ(ReadText(first + "\\table.png"), "table image");
  EXPECT_EQ(ReadText(first + "\\escaped.png"), "picture");
  EXPECT_EQ(SizeOf(MusicFile("escaped.png")), -1);

  std::string second = Folder("second");
  WriteText(second + "\\table.png", "older file");
  dlg = Show();
  Press(dlg, IDC_HTM_USETEMPLATE);
  Generate(dlg, second + "\\page.htm");
  EXPECT_EQ(ReadText(second + "\\table.png"), "older file") << "an existing file is kept";
  EXPECT_EQ(ReadText(second + "\\escaped.png"), "picture") << "copied in template mode too";
}

}  // namespace
}  // namespace spinox::e2e
