// The user seam as message boxes and the open-file dialog, owned by the active window of the
// player's thread (a dialog that asks owns its question).
#include "plugin/user_win.h"

#include <windows.h>

#include <string>

#include "base/user.h"
#include "db/paths.h"
#include "plugin/wndproc_win.h"
#include "ui/toolkit/controls_win.h"

namespace spinox {

namespace {

HWND Owner() {
  HWND active = GetActiveWindow();
  return active ? active : GetWinampWnd();
}

class Win32User : public User {
 public:
  bool Ask(const std::string& text, const std::string& caption) override {
    return ShowMessage(Owner(), text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  void Tell(const std::string& text, const std::string& caption) override {
    ShowMessage(Owner(), text, caption, MB_OK);
  }
  bool ChooseFile(const std::string& title, const std::string& filter, const std::string& pattern,
                  std::string* path) override {
    std::string filters = filter + '\0' + pattern + '\0' + "All Files" + '\0' + "*.*" + '\0';
    // The files asked for are the backups, which are written in the data folder.
    return GetOpenFile(Owner(), path, nullptr, title.c_str(), filters.c_str(), nullptr,
                       DataDir().c_str()) != 0;
  }
};

Win32User gUser;

}  // namespace

void InstallWin32User() {
  SetCurrentUser(&gUser);
}

void RemoveWin32User() {
  SetCurrentUser(nullptr);
}

}  // namespace spinox
