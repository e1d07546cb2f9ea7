// The skin's colour table read from the player's bitmap with real GDI calls, and the colours
// the plug-in's embedded windows then draw with.
#include "ui/toolkit/skin.h"

#include <windows.h>
// System headers below need windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include "plugin/host_win.h"
#include "resources/resource.h"
#include "tests/e2e/fixture_win.h"
#include "ui/toolkit/skin_win.h"

namespace spinox::e2e {
namespace {

constexpr COLORREF kReference = RGB(10, 20, 30);

// A skin whose every entry equals the reference pixel: nothing usable.
std::vector<COLORREF> UnusableRow() {
  return std::vector<COLORREF>(120, kReference);
}

class SkinTest : public ::testing::Test {
 protected:
  void SetUp() override { player = std::make_unique<TestPlayer>(); }
  void TearDown() override { WADlg_close(skin); }

  // The skin as the player hands it out now.
  void Init() { WADlg_init(skin, QuerySkinBitmap(player->window())); }

  // The colours a dialog gets for one control colour message.
  HBRUSH Colors(UINT message, COLORREF* text) {
    HDC dc = CreateCompatibleDC(nullptr);
    auto brush = reinterpret_cast<HBRUSH>(
        WADlg_handleDialogMsgs(skin, message, reinterpret_cast<WPARAM>(dc)));
    *text = GetTextColor(dc);
    DeleteDC(dc);
    return brush;
  }

  std::unique_ptr<TestPlayer> player;
  Skin skin;
};

TEST_F(SkinTest, UnusablePixelsTakeTheReplacements) {
  player->skinRow = UnusableRow();
  player->skinRow[50] = RGB(0, 198, 255);  // the unset marker
  Init();
  EXPECT_EQ(WADlg_getColor(skin, 21), 0x00811212u);
  EXPECT_EQ(WADlg_getColor(skin, 1), 0x0000FF00u);
  EXPECT_EQ(WADlg_getColor(skin, 18), 0x00FFFFFFu);
  EXPECT_EQ(WADlg_getColor(skin, 19), 0x00C60000u);
  EXPECT_NE(skin.wadlg_bitmap.Get(), nullptr);
}

TEST_F(SkinTest, UsablePixelsAreReadFromTheTopRow) {
  player->skinRow = UnusableRow();
  for (int i = 0; i < kSkinColorCount; ++i) player->skinRow[SkinPixelX(i)] = RGB(i, 100, 200);
  player->skinRow[SkinPixelX(21)] = kReference;
  player->skinRow[SkinPixelX(2)] = RGB(254, 254, 254);
  player->skinRow[SkinPixelX(6)] = RGB(0, 0, 2);
  Init();
  EXPECT_EQ(WADlg_getColor(skin, 0), static_cast<uint32_t>(RGB(0, 100, 200)));
  EXPECT_EQ(WADlg_getColor(skin, 20), static_cast<uint32_t>(RGB(20, 100, 200)));
  EXPECT_EQ(WADlg_getColor(skin, 21), static_cast<uint32_t>(RGB(127, 127, 128)));
}

TEST_F(SkinTest, AShortBitmapOrNoneKeepsWhatItCannotRead) {
  player->skinRow = std::vector<COLORREF>(56, RGB(1, 2, 3));  // ends before x 56
  Init();
  EXPECT_EQ(WADlg_getColor(skin, 0), static_cast<uint32_t>(RGB(1, 2, 3)));
  EXPECT_EQ(WADlg_getColor(skin, 4), 0x00FFFFFFu) << "outside the bitmap: the default";
  player->skinRow.clear();
  Init();
  EXPECT_EQ(skin.wadlg_bitmap.Get(), nullptr);
  EXPECT_EQ(WADlg_getColor(skin, 0), static_cast<uint32_t>(RGB(1, 2, 3))) << "the table stays";
}

TEST_F(SkinTest, OneBrushAtATime) {
  player->skinRow = UnusableRow();
  Init();
  COLORREF text = 0;
  HBRUSH first = Colors(WM_CTLCOLORSTATIC, &text);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(text, WADlg_getColor(skin, 4));
  HBRUSH second = Colors(WM_CTLCOLOREDIT, &text);
  EXPECT_EQ(text, WADlg_getColor(skin, 1));
  EXPECT_EQ(GetObjectType(first), 0u) << "the first brush is deleted";
  EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(Colors(WM_CTLCOLORSCROLLBAR, &text), nullptr);
  EXPECT_EQ(skin.wadlg_lastbrush.Get(), second);
  WADlg_close(skin);
  EXPECT_EQ(skin.wadlg_lastbrush.Get(), nullptr);
  EXPECT_EQ(skin.wadlg_bitmap.Get(), nullptr);
}

// Through the DLL: the list view's colours, and a skin change announced to the player window.
TEST_F(PluginTest, EmbeddedWindowsTakeTheSkinColours) {
  player->skinRow = UnusableRow();
  player->skinRow[SkinPixelX(0)] = RGB(0x11, 0x22, 0x33);
  player->skinRow[SkinPixelX(1)] = RGB(0x44, 0x55, 0x66);
  StartPlugin();
  HWND list = GetDlgItem(player->Embedded(1), IDC_LIST);
  EXPECT_EQ(SendMessageA(list, LVM_GETBKCOLOR, 0, 0), RGB(0x11, 0x22, 0x33));
  EXPECT_EQ(SendMessageA(list, LVM_GETTEXTCOLOR, 0, 0), RGB(0x44, 0x55, 0x66));

  player->skinRow[SkinPixelX(4)] = RGB(0x77, 0x88, 0x99);
  int queries = player->skinQueries;
  SendMessageA(player->window(), WM_DISPLAYCHANGE, 0, 0);
  EXPECT_EQ(player->skinQueries, queries + 1);
  HDC dc = CreateCompatibleDC(nullptr);
  SendMessageA(player->Embedded(0), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0);
  EXPECT_EQ(GetTextColor(dc), RGB(0x77, 0x88, 0x99));
  DeleteDC(dc);
}

}  // namespace
}  // namespace spinox::e2e
