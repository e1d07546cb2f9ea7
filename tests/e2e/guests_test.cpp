// Spinox beside another guest that subclasses the player window: each leaves when it quits
// without cutting the other off, in every order, and the player keeps answering throughout.
#include <gtest/gtest.h>
#include <windows.h>

#include "plugin/host_win.h"
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

struct GuestOrder {
  const char* name;
  bool spinoxLoadsFirst;
  bool spinoxQuitsFirst;
};

// The player's own answers come back through whatever chain is installed.
void ExpectAnswering(TestPlayer* p, const char* when) {
  SCOPED_TRACE(when);
  EXPECT_EQ(SendMessageA(p->window(), kPlayerMessage, 0, kQueryPlaylistLength), 2);
  p->closeRequested = false;
  SendMessageA(p->window(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(p->closeRequested) << "the player's procedure got WM_CLOSE";
  EXPECT_TRUE(IsWindow(p->window())) << "not the default procedure, which destroys it";
}

WNDPROC Installed(HWND w) {
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(w, GWLP_WNDPROC));
}

TEST_F(PluginTest, TwoGuestsLeaveThePlayerAsTheyFoundIt) {
  const GuestOrder orders[] = {
      {"Spinox in first, out first", true, true},
      {"Spinox in first, out last", true, false},
      {"Spinox in last, out first", false, true},
      {"Spinox in last, out last", false, false},
  };
  // Spinox may have to stay loaded for the process (a later guest calls its procedure), so
  // these runs use a copy of the DLL of their own.
  dllName = "gen_spinox_guest.dll";
  ASSERT_TRUE(CopyFileA((TestsFolder() + "\\gen_spinox.dll").c_str(),
                        (TestsFolder() + "\\" + dllName).c_str(), FALSE));
  for (const GuestOrder& order : orders) {
    SCOPED_TRACE(order.name);
    player = std::make_unique<TestPlayer>();
    player->playlist = {{MakeTrack("a.mp3", "A", "B", "C"), 100}, {MusicFile("x.mp3"), 100}};
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
      EXPECT_EQ(SendMessageA(player->window(), WM_USER + 48, 13, WM_RBUTTONUP), 0);
      EXPECT_FALSE(gMenus.empty()) << "Spinox still answers its tray icon";
      player->Unload();
    }
    ExpectAnswering(player.get(), "both out");
    // A procedure left in the chain steps out at the first message it passes on.
    EXPECT_EQ(Installed(player->window()), own);
    EXPECT_FALSE(player->guestInChain());
    player->Tick(2);
    gMenus.clear();
  }
  player.reset();
}

}  // namespace
}  // namespace spinox::e2e
