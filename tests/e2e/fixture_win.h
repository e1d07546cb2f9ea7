// The end-to-end fixture: a fresh data folder, the test player and the plug-in DLL loaded into
// it, with the plug-in's tray, menu and shell calls watched.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "settings/settings.h"
#include "tests/e2e/test_player_win.h"

namespace spinox::e2e {

struct TrayCall {
  DWORD action;
  UINT id;
  UINT flags;
  UINT message;
  HICON icon;
  std::string tip;
};

struct MenuItem {
  UINT id;
  std::string text;
  bool operator==(const MenuItem& o) const { return id == o.id && text == o.text; }
};

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Loads the DLL and starts it; the real timer is stopped unless asked to keep it.
  void StartPlugin(bool keepRealTimer = false);

  std::string PluginsFolder() const { return folder_ + "\\plugins"; }
  std::string UserFolder() const { return folder_ + "\\appdata"; }
  std::string MusicFile(const std::string& name) const { return folder_ + "\\music\\" + name; }
  std::string DataFile(const std::string& name) const { return PluginsFolder() + "\\" + name; }

  // A music file with an ID3v1 tag (or none when title is null).
  std::string MakeTrack(const std::string& name, const char* title, const char* artist,
                        const char* album);
  void WriteSettings(const SettingsRecord& rec);

  // The last tray icon the plug-in set, and the icon resource it shows.
  const TrayCall& LastTray() const;
  HICON Icon(int resource) const;
  // The items of the menu the plug-in shows on a right click of its tray icon.
  std::vector<MenuItem> TrayMenu();
  void Command(WPARAM command);

  std::unique_ptr<TestPlayer> player;
  // The DLL StartPlugin loads, in the tests' folder. A copy under another name is another
  // module, with globals of its own.
  std::string dllName = "gen_spinox.dll";
  std::string TestsFolder() const { return folder_; }

 private:
  std::string folder_;
};

extern std::vector<TrayCall> gTrayCalls;
extern std::vector<std::vector<MenuItem>> gMenus;
extern std::vector<std::string> gShellOpened;
// The notes the plug-in showed in message boxes (answered OK at once), until a test hooks
// MessageBoxA itself.
extern std::vector<std::string> gNotes;
// A folder the plug-in's probe finds unwritable (as a protected install is for a user, which
// the tests, run as the superuser under Wine, cannot otherwise make).
extern std::string gUnwritableFolder;

// Records and file helpers.
int64_t SizeOf(const std::string& path);
bool IsFolder(const std::string& path);
void RemoveTree(const std::string& path);
std::vector<unsigned char> ReadAll(const std::string& path);
RECT WindowRectOf(HWND window);

// Runs `action` after `ms` milliseconds from inside whatever message loop runs then (a modal
// dialog's, for instance).
void Later(int ms, void (*action)());

}  // namespace spinox::e2e
