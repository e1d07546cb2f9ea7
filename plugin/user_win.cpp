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
    return MessageBoxA(Owner(), text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
  }
  void Tell(const std::string& text, const std::string& caption) override {
    MessageBoxA(Owner(), text.c_str(), caption.c_str(), MB_OK);
  }
  bool ChooseFile(const std::string& title, const std::string& filter, const std::string& pattern,
                  std::string* path) override {
    std::string filters = filter + '\0' + pattern + '\0' + "All Files" + '\0' + "*.*" + '\0';
    char name[MAX_PATH + 1] = {};
    // The files asked for are the backups, which are written in the data folder.
    if (!GetOpenFile(Owner(), name, nullptr, sizeof name, title.c_str(), filters.c_str(), nullptr,
                     DataDir().c_str()))
      return false;
    *path = name;
    return true;
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
