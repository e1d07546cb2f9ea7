// The on-screen display through the real window: shown by a change of track, shaped like its
// text (checked through the window region and hit testing, not pixels: under Wine a screenshot
// does not show faithfully what lies behind a shaped window), timed out by the tick.
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "tests/e2e/fixture_win.h"
#include "tests/e2e/iat_hook_win.h"

namespace spinox::e2e {
namespace {

constexpr int kSize = 40;
constexpr int kX = 120, kY = 150;

// The fonts and brushes the plug-in holds, seen through its imports.
std::set<HGDIOBJ> gFonts, gBrushes;

HFONT WINAPI CountFont(int height, int width, int escapement, int orientation, int weight,
                       DWORD italic, DWORD underline, DWORD strike, DWORD charset, DWORD precision,
                       DWORD clip, DWORD quality, DWORD family, LPCWSTR face) {
  HFONT font = CreateFontW(height, width, escapement, orientation, weight, italic, underline,
                           strike, charset, precision, clip, quality, family, face);
  gFonts.insert(font);
  return font;
}

HBRUSH WINAPI CountBrush(COLORREF color) {
  HBRUSH brush = CreateSolidBrush(color);
  gBrushes.insert(brush);
  return brush;
}

BOOL WINAPI CountDelete(HGDIOBJ object) {
  gFonts.erase(object);
  gBrushes.erase(object);
  return DeleteObject(object);
}

class DisplayTest : public PluginTest {
 protected:
  // The display switched on for a track that starts playing at once.
  void StartPlaying(const char* text) {
    player->playlist = {{MakeTrack("one.mp3", "One", "Band", "Album"), 300},
                        {MakeTrack("two.mp3", "Two", "Band", "Album"), 300}};
    player->state = 1;
    Start(SettingsFile()
              .Set("_txt", 1)
              .Set("_txt_text", text)
              .Set("_txt_font", "Tahoma")
              .Set("_txt_size", kSize)
              .Set("_txt_x", kX)
              .Set("_txt_y", kY)
              .Set("_txt_timeEnd", 10));
  }
};

// The first point of the box in (or out of) the region, its left and right neighbours too; out
// of it: between two points of the region in its row.
POINT FindPoint(HRGN region, const RECT& box, bool in) {
  for (int y = box.top; y < box.bottom; ++y) {
    bool seen = false;
    for (int x = box.left + 1; x < box.right - 1; ++x) {
      bool on = PtInRegion(region, x, y);
      bool next = PtInRegion(region, x + 1, y);
      if (in && on && next && PtInRegion(region, x - 1, y)) return POINT{x, y};
      if (!in && seen && !on && next) return POINT{x, y};
      seen |= on;
    }
  }
  ADD_FAILURE() << "no such point";
  return POINT{};
}

TEST_F(DisplayTest, ATrackChangeShowsTheTextShapedWindowAtItsPlace) {
  StartPlaying("%title (%hits)");
  HWND display = DisplayWindow();
  ASSERT_NE(display, nullptr);
  EXPECT_FALSE(IsWindowVisible(display));
  player->Tick(1);
  ASSERT_TRUE(IsWindowVisible(display));
  RECT r = WindowRectOf(display);
  EXPECT_EQ(r.left, kX);
  EXPECT_EQ(r.top, kY);
  EXPECT_EQ(r.right - r.left, 2000) << "moved, never resized";
  EXPECT_NE(GetActiveWindow(), display) << "shown without taking the focus";

  HRGN region = RegionOf(display);
  ASSERT_NE(region, nullptr);
  RECT box = {};
  EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
  EXPECT_GE(box.top, 0);
  EXPECT_LE(box.bottom, kSize) << "one line";
  POINT inside = FindPoint(region, box, true), gap = FindPoint(region, box, false);
  EXPECT_EQ(WindowFromPoint(POINT{kX + inside.x, kY + inside.y}), display) << "on a letter";
  EXPECT_NE(WindowFromPoint(POINT{kX + gap.x, kY + gap.y}), display) << "between letters";
  EXPECT_NE(WindowFromPoint(POINT{kX + box.right + 5, kY + 5}), display) << "beside the text";

  // The same text typed without tags and shown by "Test" gives the same shape: the window
  // shows the expanded template of the playing track.
  HRGN expanded = region;
  HRGN literal = nullptr;
  WithSettings({
      [] {
        HWND dlg = SettingsDialog();
        Type(dlg, IDC_SET_TEXT, "One (0)");
        Press(dlg, IDC_SET_TEST);
      },
      [&literal, display] { literal = RegionOf(display); },
      [] {
        HWND dlg = SettingsDialog();
        Type(dlg, IDC_SET_TEXT, "One (1)");
        Press(dlg, IDC_SET_TEST);
      },
      [&literal, expanded, display] {
        HRGN other = RegionOf(display);
        EXPECT_FALSE(EqualRgn(other, expanded)) << "another text, another shape";
        DeleteObject(other);
        Press(SettingsDialog(), IDCANCEL);
      },
  });
  ASSERT_NE(literal, nullptr);
  EXPECT_TRUE(EqualRgn(literal, expanded));
  DeleteObject(literal);
  DeleteObject(expanded);
}

TEST_F(DisplayTest, HiddenOnTheEleventhTickAndShownAgainForTheNextTrack) {
  StartPlaying("%title");
  player->Tick(1);
  HWND display = DisplayWindow();
  ASSERT_TRUE(IsWindowVisible(display));
  player->Tick(10);
  EXPECT_TRUE(IsWindowVisible(display)) << "ten seconds on show";
  player->Tick(1);
  EXPECT_FALSE(IsWindowVisible(display)) << "hidden on the eleventh tick";

  HRGN first = RegionOf(display);
  player->position = 1;
  player->elapsed = 0;
  player->Tick(1);
  EXPECT_TRUE(IsWindowVisible(display)) << "the next track shows it again";
  HRGN second = RegionOf(display);
  EXPECT_FALSE(EqualRgn(first, second)) << "with the new track's title";
  DeleteObject(first);
  DeleteObject(second);
}

TEST_F(DisplayTest, OneFontAndOneBrushAtATimeAndNoneLeftAfterQuit) {
  StartPlaying("%title");
  HMODULE dll = player->module();
  gFonts.clear();
  gBrushes.clear();
  HookImport(dll, "gdi32.dll", "CreateFontW", reinterpret_cast<void*>(CountFont));
  HookImport(dll, "gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(CountBrush));
  HookImport(dll, "gdi32.dll", "DeleteObject", reinterpret_cast<void*>(CountDelete));
  player->Tick(1);
  HWND display = DisplayWindow();
  ASSERT_TRUE(IsWindowVisible(display));
  UpdateWindow(display);
  EXPECT_EQ(gFonts.size(), 1u);
  std::vector<std::function<void()>> steps;
  for (int i = 0; i < 6; ++i) {
    steps.push_back([i, display] {
      HWND dlg = SettingsDialog();
      gWatched.colorAnswer = RGB(10 * i, 0x22, 0x33);
      Press(dlg, IDC_SET_COLOR);
      Type(dlg, IDC_SET_SIZE, std::to_string(20 + 4 * i));
      if (i % 2) Press(dlg, IDC_SET_BOLD);
      Press(dlg, IDC_SET_TEST);
      UpdateWindow(display);
      UpdateWindow(dlg);
      EXPECT_EQ(gFonts.size(), 1u) << "one font at a time";
      EXPECT_LE(gBrushes.size(), 4u) << "display, swatch and skin: one brush each";
    });
  }
  steps.push_back([] { Press(SettingsDialog(), IDCANCEL); });
  WithSettings(steps);
  player->Quit();
  EXPECT_TRUE(gFonts.empty()) << "the font is released at shutdown";
  EXPECT_TRUE(gBrushes.empty()) << "and every brush";
}

// A name in each script, as the display draws it: the outlines of the name's own glyphs (not
// question marks from a trip through the code page, nor its UTF-8 bytes as code page
// characters), and those glyphs are real ones, not the empty boxes of fonts without the script.
// clang-format off
const char* const kScripts[] = {
    "群青日和", "丸の内線", "Antonín Dvořák", "Группа крови", "Μίκης Θεοδωράκης", "봄날",
    "月亮代表我的心", "أنا لحبيبي", "Żółć Łąka",
};
// clang-format on

// The region of `text` in the display's default face (bold Tahoma) at its size: one line at
// the window's top left, taken as the outlines of a path.
HRGN TextRegion(const std::string& text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font =
      CreateFontW(kSize, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_ROMAN, L"Tahoma");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  std::wstring wide = WideFromUtf8(text);
  BeginPath(dc);
  TextOutW(dc, 0, 0, wide.c_str(), static_cast<int>(wide.size()));
  EndPath(dc);
  HRGN region = PathToRegion(dc);
  SelectObject(dc, old);
  DeleteObject(font);
  DeleteDC(dc);
  return region;
}

// As many private-use characters (which no font draws) as the name has.
std::string Boxes(const std::string& name) {
  std::string out;
  for (size_t i = 0; i < WideFromUtf8(name).size(); ++i) out += "\xEE\x80\x80";
  return out;
}

TEST_F(DisplayTest, NamesInEveryScriptAreDrawnInTheirOwnGlyphs) {
  ASSERT_EQ(SettingsFile().Int("_txt_bold"), 1) << "the display's default face is bold";
  StartPlaying("%title");
  HWND display = DisplayWindow();
  ASSERT_NE(display, nullptr);
  // Each name is typed into the template and shown by "Test"; its region is taken at the next
  // step.
  std::vector<HRGN> regions;
  std::vector<std::function<void()>> steps;
  for (const char* name : kScripts) {
    steps.push_back([name] {
      HWND dlg = SettingsDialog();
      EXPECT_TRUE(IsWindowUnicode(dlg) && IsWindowUnicode(GetDlgItem(dlg, IDC_SET_TEXT)));
      Type(dlg, IDC_SET_TEXT, name);
      Press(dlg, IDC_SET_TEST);
    });
    steps.push_back([&regions, display] { regions.push_back(RegionOf(display)); });
  }
  steps.push_back([] { Press(SettingsDialog(), IDCANCEL); });
  WithSettings(steps);
  ASSERT_EQ(regions.size(), std::size(kScripts));
  for (size_t i = 0; i < regions.size(); ++i) {
    SCOPED_TRACE(kScripts[i]);
    ASSERT_NE(regions[i], nullptr);
    HRGN glyphs = TextRegion(kScripts[i]), boxes = TextRegion(Boxes(kScripts[i]));
    EXPECT_TRUE(EqualRgn(regions[i], glyphs)) << "drawn as the name's own characters";
    EXPECT_FALSE(EqualRgn(glyphs, boxes)) << "drawn as boxes: no font has the script";
    DeleteObject(glyphs);
    DeleteObject(boxes);
    DeleteObject(regions[i]);
  }
}

}  // namespace
}  // namespace spinox::e2e
