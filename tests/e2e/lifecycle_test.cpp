// Start-up, the tray icon and its menu, and shutdown, through the real DLL in the test player.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "resources/resource.h"
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

constexpr int kSettingsBytes = 3766;

bool SameRect(const RECT& r, int left, int top, int right, int bottom) {
  return r.left == left && r.top == top && r.right == right && r.bottom == bottom;
}

std::string Caption(HWND w) {
  char text[100] = {};
  GetWindowTextA(w, text, sizeof text);
  return text;
}

TEST_F(PluginTest, FirstStartPlacesTheWindowsAndEnables) {
  StartPlugin();
  ASSERT_EQ(player->frames.size(), 2u);
  // The options panel's frame is asked for first, then the hit list window's.
  EXPECT_TRUE(SameRect(WindowRectOf(player->frames[0]), 505, 100, 900, 350));
  EXPECT_TRUE(SameRect(WindowRectOf(player->frames[1]), 100, 100, 500, 400));
  // The records the plug-in hands over are as large as the player's: 284 bytes in a 32-bit
  // player, 296 in a 64-bit one (where the user pointer after the rectangle is 8-aligned).
  const SIZE_T kRecordBytes = sizeof(void*) == 8 ? 296 : 284;
  for (EmbedWindowState* state : player->frameStates)
    EXPECT_EQ(GlobalSize(GlobalHandle(state)), kRecordBytes);
  EXPECT_EQ(Caption(player->frames[0]), "Spinox");
  EXPECT_EQ(Caption(player->frames[1]), "Spinox Hitlist");
  HWND tool = player->Embedded(0), hit = player->Embedded(1);
  ASSERT_NE(tool, nullptr);
  ASSERT_NE(hit, nullptr);
  EXPECT_NE(GetDlgItem(tool, IDC_REFRESH), nullptr);
  EXPECT_NE(GetDlgItem(hit, IDC_LIST), nullptr);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(hit, IDC_PERIODSCROLL)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(hit, IDC_PROGRESS)));

  ASSERT_GE(gTrayCalls.size(), 2u);
  EXPECT_EQ(gTrayCalls.front().action, static_cast<DWORD>(NIM_ADD));
  const TrayCall& tray = LastTray();
  EXPECT_EQ(tray.icon, Icon(IDI_ENABLED));
  EXPECT_EQ(tray.id, 13u);
  EXPECT_EQ(tray.message, 1072u);
  EXPECT_EQ(tray.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(tray.tip, "Spinox v1.51");

  std::vector<MenuItem> menu = TrayMenu();
  std::vector<MenuItem> expected = {{ID_HITLIST, "Hitlist"},
                                    {ID_SETTINGS, "Settings"},
                                    {ID_WEBSITE, "Website"},
                                    {0, ""},
                                    {ID_DISABLE, "Disable Plugin"}};
  EXPECT_EQ(menu, expected);
}

TEST_F(PluginTest, SavedWhileDisabledShowsTheDisabledIconAndOnlyEnable) {
  SettingsRecord rec = DefaultSettings();
  rec.enabled = 0;
  WriteSettings(rec);
  StartPlugin();
  EXPECT_EQ(LastTray().icon, Icon(IDI_DISABLED));
  std::vector<MenuItem> expected = {{ID_ENABLE, "Enable Plugin"}};
  EXPECT_EQ(TrayMenu(), expected);
  // A left click does nothing while disabled.
  SendMessageA(player->window(), WM_USER + 48, 13, WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(player->frames[1]));
  Command(ID_ENABLE);
  EXPECT_EQ(LastTray().icon, Icon(IDI_ENABLED));
  EXPECT_EQ(TrayMenu().size(), 5u);
}

TEST_F(PluginTest, TrayAndMenuCommands) {
  StartPlugin();
  EXPECT_FALSE(IsWindowVisible(player->Embedded(1)));
  SendMessageA(player->window(), WM_USER + 48, 13, WM_LBUTTONUP);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(IsWindowVisible(player->frames[i])) << i;
    EXPECT_TRUE(IsWindowVisible(player->Embedded(i))) << i;
  }
  for (HWND frame : player->frames) ShowWindow(frame, SW_HIDE);
  Command(ID_HITLIST);
  EXPECT_TRUE(IsWindowVisible(player->frames[0]));
  EXPECT_TRUE(IsWindowVisible(player->frames[1]));

  Command(ID_DISABLE);
  EXPECT_EQ(LastTray().icon, Icon(IDI_DISABLED));
  size_t calls = gTrayCalls.size();
  Command(ID_DISABLE);
  EXPECT_EQ(gTrayCalls.size(), calls) << "switching to the current state changes nothing";
  Command(ID_ENABLE);
  EXPECT_EQ(LastTray().icon, Icon(IDI_ENABLED));

  Command(ID_WEBSITE);
  ASSERT_EQ(gShellOpened.size(), 1u);
  EXPECT_EQ(gShellOpened[0].rfind("http", 0), 0u);
}

HWND gSettingsDialog = nullptr;
bool gWindowsDisabledMeanwhile = false;
HWND gHitWindow = nullptr;

void CloseSettings() {
  gSettingsDialog = FindWindowA(nullptr, "Spinox Settings");
  gWindowsDisabledMeanwhile = gHitWindow && !IsWindowEnabled(gHitWindow);
  if (gSettingsDialog) PostMessageA(gSettingsDialog, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(PluginTest, SettingsRunModallyFromConfigAndTheMenu) {
  StartPlugin();
  gHitWindow = player->Embedded(1);
  gSettingsDialog = nullptr;
  Later(300, CloseSettings);
  player->plugin()->config();
  EXPECT_NE(gSettingsDialog, nullptr);
  EXPECT_TRUE(gWindowsDisabledMeanwhile);
  EXPECT_TRUE(IsWindowEnabled(gHitWindow));
  EXPECT_TRUE(IsWindowEnabled(player->Embedded(0)));
  gSettingsDialog = nullptr;
  Later(300, CloseSettings);
  Command(ID_SETTINGS);
  EXPECT_NE(gSettingsDialog, nullptr);
}

TEST_F(PluginTest, QuitSavesTheSettingsAndGivesTheWindowBack) {
  StartPlugin();
  SetWindowPos(player->frames[1], nullptr, 40, 60, 420, 330, SWP_NOZORDER | SWP_NOACTIVATE);
  player->Quit();
  EXPECT_EQ(GetWindowLongPtrA(player->window(), GWLP_WNDPROC),
            reinterpret_cast<LONG_PTR>(player->ownProcedure()));
  EXPECT_EQ(LastTray().action, static_cast<DWORD>(NIM_DELETE));
  EXPECT_FALSE(IsWindow(player->frames[0])) << "the frames go with their windows";
  EXPECT_FALSE(IsWindow(player->frames[1]));

  std::vector<unsigned char> bytes = ReadAll(DataFile("gen_spinox.dat"));
  ASSERT_EQ(bytes.size(), static_cast<size_t>(kSettingsBytes));
  EXPECT_EQ(std::memcmp(bytes.data(), "SPX\0", 4), 0);
  SettingsRecord rec;
  ASSERT_TRUE(ParseSettings(bytes.data(), bytes.size(), &rec));
  EXPECT_EQ(rec.version, 151);
  EXPECT_EQ(rec.hitRect.left, 40);
  EXPECT_EQ(rec.hitRect.top, 60);
  EXPECT_EQ(rec.hitRect.right, 460);
  EXPECT_EQ(rec.hitRect.bottom, 390);
  EXPECT_EQ(rec.toolRect.left, 505);
  EXPECT_EQ(rec.enabled, 1);
  EXPECT_EQ(rec.addTime, 60);

  // The module can go while the player window lives on.
  player->Unload();
  player->Tick(3);
  SendMessageA(player->window(), WM_USER + 48, 13, WM_RBUTTONUP);
  SendMessageA(player->window(), WM_DISPLAYCHANGE, 0, 0);
  player->Pump(50);
}

TEST_F(PluginTest, SettingsComeBackAsTheyWereSaved) {
  SettingsRecord rec = DefaultSettings();
  rec.hitRect = WindowRect{30, 40, 330, 340};
  rec.toolRect = WindowRect{350, 40, 750, 300};
  rec.addTime = -50;
  rec.skip = 0;
  rec.txtTimeEnd = 4;
  rec.highlight = 1;
  rec.html.tableWidth = 77;
  rec.html.topBold = 1;
  std::strcpy(rec.html.pageTitle, "My chart %type");
  WriteSettings(rec);
  StartPlugin();
  EXPECT_TRUE(SameRect(WindowRectOf(player->frames[1]), 30, 40, 330, 340));
  EXPECT_TRUE(SameRect(WindowRectOf(player->frames[0]), 350, 40, 750, 300));
  player->Quit();
  SettingsRecord back;
  ASSERT_TRUE(ReadSettingsFile(DataFile("gen_spinox.dat"), &back));
  EXPECT_EQ(back.hitRect.right, 330);
  EXPECT_EQ(back.toolRect.bottom, 300);
  EXPECT_EQ(back.addTime, -50);
  EXPECT_EQ(back.skip, 0);
  EXPECT_EQ(back.txtTimeEnd, 4);
  EXPECT_EQ(back.highlight, 1);
  EXPECT_EQ(back.html.tableWidth, 77);
  EXPECT_EQ(back.html.topBold, 1);
  EXPECT_STREQ(back.html.pageTitle, "My chart %type");
  EXPECT_EQ(back.html.openInBrowser, 1);
}

TEST_F(PluginTest, NoFramesFromThePlayer) {
  player->framesRefused = true;
  StartPlugin();
  EXPECT_TRUE(player->frames.empty());
  player->Tick(5);
  player->Quit();
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.dat")), kSettingsBytes);
}

}  // namespace
}  // namespace spinox::e2e
