// The settings that live in windows: the frames' places and the HTML dialog's controls. The
// settings file is read into the shell's settings; these move them into the windows and back.
#include "plugin/window_settings_win.h"

#include <windows.h>

#include "plugin/host_win.h"
#include "settings/settings.h"
#include "ui/html/dialog_win.h"
#include "ui/html/fields_win.h"
#include "ui/shell_state_win.h"

namespace spinox {

namespace {

void MoveFrame(HWND frame, const WindowRect& r) {
  if (!frame) return;
  SetWindowPos(frame, nullptr, r.left, r.top, RectWidth(r), RectHeight(r),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window takes its frame's whole inside, whatever size its template gave it.
void FillFrame(HWND window) {
  HWND frame = window ? GetParent(window) : nullptr;
  RECT inside = {};
  if (!frame || !GetClientRect(frame, &inside)) return;
  SetWindowPos(window, nullptr, 0, 0, inside.right, inside.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowRect FromRect(const RECT& r) {
  return WindowRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

// The rectangles are the frames' places (the player keeps the records current as the frames
// move), so the frames are moved; each window fills its own frame.
void PutWindowSettings() {
  const ShellState& shell = Shell();
  MoveFrame(shell.wa3, shell.settings._rectHit);
  MoveFrame(shell.wa2, shell.settings._rectTool);
  FillFrame(shell._hwndHit);
  FillFrame(shell._hwndTool);
  if (shell._hwndHTM) PutHtmDialog(shell._hwndHTM, shell.settings.html._htmDialog);
}

void TakeWindowSettings() {
  ShellState& shell = Shell();
  Settings& s = shell.settings;
  if (shell.wa_wnd3) s._rectHit = FromRect(shell.wa_wnd3->r);
  if (shell.wa_wnd) s._rectTool = FromRect(shell.wa_wnd->r);
  if (shell._hwndHTM) TakeHtmDialog(shell._hwndHTM, &s.html._htmDialog);
}

}  // namespace spinox
