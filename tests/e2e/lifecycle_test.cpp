// Start-up, the tray icon and its menu, shutdown and unloading, and the player window's
// procedure chain shared with another guest, through the real DLL in the test player.
#include <cstring>

#include "plugin/host_win.h"
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

std::string Caption(HWND w) {
  return WindowText(w);
}

void ExpectRect(const RECT& r, const RECT& expected, const char* what) {
  EXPECT_EQ(std::memcmp(&r, &expected, sizeof r), 0)
      << what << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
}

void TrayClick(TestPlayer* p, LPARAM button) {
  SendMessageA(p->window(), WM_USER + 48, 13, button);
  p->Pump();
}

const std::vector<MenuItem> kEnabledMenu = {{ID_HITLIST, "Hitlist"},
                                            {ID_SETTINGS, "Settings"},
                                            {ID_WEBSITE, "Website"},
                                            {0, ""},
                                            {ID_DISABLE, "Disable Plugin"}};

TEST_F(PluginTest, FirstStartPlacesTheWindowsAndTheTrayIcon) {
  StartPlugin();
  ASSERT_EQ(player->frames.size(), 2u);
  // The options panel's frame is asked for first, then the hit list window's.
  ExpectRect(WindowRectOf(player->frames[0]), RECT{505, 100, 900, 350}, "options panel");
  ExpectRect(WindowRectOf(player->frames[1]), RECT{100, 100, 500, 400}, "hit list");
  // The records handed over are as large as the player's: 284 bytes in a 32-bit player, 296 in
  // a 64-bit one (where the user pointer after the rectangle is 8-aligned).
  for (EmbedWindowState* state : player->frameStates)
    EXPECT_EQ(GlobalSize(GlobalHandle(state)), sizeof(void*) == 8 ? 296u : 284u);
  EXPECT_EQ(Caption(player->frames[0]), "Spinox");
  EXPECT_EQ(Caption(player->frames[1]), "Spinox Hitlist");
  EXPECT_NE(GetDlgItem(Tool(), IDC_REFRESH), nullptr);
  EXPECT_FALSE(IsOn(Hit(), IDC_PERIODSCROLL));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(Hit(), IDC_PROGRESS)));
  EXPECT_FALSE(IsWindowVisible(Hit())) << "hidden until asked for";

  ASSERT_GE(gWatched.tray.size(), 2u);
  EXPECT_EQ(gWatched.tray.front().action, static_cast<DWORD>(NIM_ADD));
  const TrayCall& tray = LastTray();
  EXPECT_EQ(tray.icon, Icon(IDI_ENABLED));
  EXPECT_EQ(tray.id, 13u);
  EXPECT_EQ(tray.message, 1072u);
  EXPECT_EQ(tray.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(tray.tip, "Spinox v1.51");
  EXPECT_EQ(TrayMenu(), kEnabledMenu);
}

TEST_F(PluginTest, TrayClicksAndMenuCommands) {
  StartPlugin();
  TrayClick(player.get(), WM_LBUTTONUP);
  for (size_t i = 0; i < 2; ++i) EXPECT_TRUE(IsWindowVisible(player->Embedded(i))) << i;
  for (HWND frame : player->frames) ShowWindow(frame, SW_HIDE);
  Command(ID_HITLIST);
  for (HWND frame : player->frames) EXPECT_TRUE(IsWindowVisible(frame));

  Command(ID_DISABLE);
  EXPECT_EQ(LastTray().icon, Icon(IDI_DISABLED));
  EXPECT_EQ(TrayMenu(), (std::vector<MenuItem>{{ID_ENABLE, "Enable Plugin"}}));
  size_t calls = gWatched.tray.size();
  Command(ID_DISABLE);
  EXPECT_EQ(gWatched.tray.size(), calls) << "switching to the current state changes nothing";
  for (HWND frame : player->frames) ShowWindow(frame, SW_HIDE);
  TrayClick(player.get(), WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(player->frames[1])) << "a left click does nothing while disabled";
  Command(ID_ENABLE);
  EXPECT_EQ(LastTray().icon, Icon(IDI_ENABLED));
  EXPECT_EQ(TrayMenu(), kEnabledMenu);

  Command(ID_WEBSITE);
  ASSERT_EQ(gWatched.shellOpened.size(), 1u);
  EXPECT_EQ(gWatched.shellOpened[0].rfind("http", 0), 0u);

  // The settings run modally, from config() and from the menu, with the windows disabled.
  for (bool fromMenu : {false, true}) {
    bool opened = false, disabled = false;
    WhileModal({[&] {
                 opened = SettingsDialog() != nullptr;
                 disabled = !IsWindowEnabled(Hit());
               }},
               [&] { fromMenu ? Command(ID_SETTINGS) : player->plugin()->config(); });
    EXPECT_TRUE(opened) << fromMenu;
    EXPECT_TRUE(disabled) << fromMenu;
    EXPECT_TRUE(IsWindowEnabled(Hit()));
    EXPECT_TRUE(IsWindowEnabled(Tool()));
  }
}

// The player's own answers come back through whatever chain is installed.
void ExpectAnswering(TestPlayer* p, const char* when) {
  SCOPED_TRACE(when);
  EXPECT_EQ(SendMessageA(p->window(), kPlayerMessage, 0, kQueryPlaylistLength), 2);
  p->closeRequested = false;
  SendMessageA(p->window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(p->closeRequested) << "the player's procedure got WM_CLOSE";
  EXPECT_TRUE(IsWindow(p->window())) << "not the default procedure, which destroys it";
}

// Beside another guest that subclasses the player window, each leaves when it quits without
// cutting the other off, in every order.
TEST_F(PluginTest, TwoGuestsLeaveThePlayerAsTheyFoundIt) {
  const struct {
    const char* name;
    bool spinoxLoadsFirst, spinoxQuitsFirst;
  } orders[] = {
      {"Spinox in first, out first", true, true},
      {"Spinox in first, out last", true, false},
      {"Spinox in last, out first", false, true},
      {"Spinox in last, out last", false, false},
  };
  // Spinox may have to stay loaded for the process (a later guest calls its procedure), so
  // these runs use a copy of the DLL of their own.
  dllName = "gen_spinox_guest.dll";
  ASSERT_TRUE(CopyOneFile(TestsFolder() + "\\gen_spinox.dll", TestsFolder() + "\\" + dllName));
  for (const auto& order : orders) {
    SCOPED_TRACE(order.name);
    player = std::make_unique<TestPlayer>();
    player->playlist = {{MakeTrack(kA), 100}, {MusicFile("x.mp3"), 100}};
    WNDPROC own = player->ownProcedure();
    if (!order.spinoxLoadsFirst) player->LoadGuest();
    StartPlugin();
    if (order.spinoxLoadsFirst) player->LoadGuest();
    ExpectAnswering(player.get(), "both in");
    if (order.spinoxQuitsFirst) {
      player->Unload();
      int before = player->guestMessages();
      ExpectAnswering(player.get(), "Spinox out");
      EXPECT_GT(player->guestMessages(), before) << "the other guest still sees the messages";
      player->QuitGuest();
    } else {
      player->QuitGuest();
      ExpectAnswering(player.get(), "the other guest out");
      EXPECT_FALSE(TrayMenu().empty()) << "Spinox still answers its tray icon";
      player->Unload();
    }
    ExpectAnswering(player.get(), "both out");
    // A procedure left in the chain steps out at the first message it passes on.
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(player->window(), GWLP_WNDPROC)), own);
    EXPECT_FALSE(player->guestInChain());
    player->Tick(2);
  }
  player.reset();
}

}  // namespace
}  // namespace spinox::e2e
