// The hook on the player's main window: the timer tick, the tray icon and its menu.
#include <windows.h>
// The shell headers below need windows.h first.
#include <shellapi.h>

#include <cstring>

#include "base/text.h"
#include "db/settings.h"
#include "plugin/shell_win.h"
#include "plugin/tick.h"
#include "resources/resource.h"
#include "ui/toolkit/skin_win.h"

namespace spinox {

namespace {

// Tray icon events (lParam of kTrayMessage).
constexpr LPARAM kTrayLeftUp = WM_LBUTTONUP;   // 514
constexpr LPARAM kTrayRightUp = WM_RBUTTONUP;  // 517

void ShowWithFrame(HWND window) {
  if (!window) return;
  HWND frame = GetParent(window);
  if (frame) ShowWindow(frame, SW_SHOW);
  ShowWindow(window, SW_SHOW);
}

void TrayMenu(HWND player) {
  HMENU menu = LoadMenuA(plugin.hDllInstance, MAKEINTRESOURCEA(IDR_TRAYMENU));
  if (!menu) return;
  POINT at = {};
  GetCursorPos(&at);
  SetForegroundWindow(player);
  TrackPopupMenu(GetSubMenu(menu, _enabled ? 0 : 1), TPM_CENTERALIGN, at.x, at.y, 0, player,
                 nullptr);
  PostMessageA(player, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

void OnTray(HWND player, LPARAM event) {
  if (event == kTrayLeftUp && _enabled) ShowHitlistWindows();
  if (event == kTrayRightUp) TrayMenu(player);
}

void OnCommand(WPARAM command) {
  switch (command) {
    case ID_HITLIST:
      ShowHitlistWindows();
      break;
    case ID_SETTINGS:
      config();
      break;
    case ID_WEBSITE:
      ShellExecuteA(nullptr, nullptr, kWebsite, nullptr, nullptr, SW_SHOWNORMAL);
      break;
    case ID_DISABLE:
      EnablePlug(0);
      break;
    case ID_ENABLE:
      EnablePlug(1);
      break;
  }
}

}  // namespace

void ShowHitlistWindows() {
  ShowWithFrame(_hwndHit);
  ShowWithFrame(_hwndTool);
  SetForegroundWindow(GetWinampWnd());
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTickTimer) PlayTick();
  if (message == kTrayMessage) OnTray(hwnd, lParam);
  if (message == WM_COMMAND) OnCommand(wParam);
  if (message == WM_DISPLAYCHANGE) WADlg_init(hwnd);
  if (!lpWndProcOld) return DefWindowProcA(hwnd, message, wParam, lParam);
  return CallWindowProcA(lpWndProcOld, hwnd, message, wParam, lParam);
}

void CALLBACK TickTimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD time) {
  WndProc(hwnd, message, id, static_cast<LPARAM>(time));
}

void EnablePlug(int flag) {
  if (flag == _enabled) return;
  if (!flag) _txt_showing = 0;
  AddTrayIcon(GetWinampWnd(), plugin.hDllInstance, flag ? IDI_ENABLED : IDI_DISABLED, NIM_MODIFY,
              kPluginTitle);
  _enabled = flag;
}

void SetWinampWnd(HWND player) {
  hwnd_winamp = player;
}

HWND GetWinampWnd() {
  return hwnd_winamp;
}

BOOL AddTrayIcon(HWND hwnd, HINSTANCE instance, int iconResource, DWORD action, const char* tip) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = hwnd;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(iconResource));
  CopyText(data.szTip, sizeof data.szTip, tip);
  return Shell_NotifyIconA(action, &data);
}

BOOL ClearTray(HWND hwnd) {
  NOTIFYICONDATAA data = {};
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = hwnd;
  data.uID = kTrayIconId;
  return Shell_NotifyIconA(NIM_DELETE, &data);
}

#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "the tray icon record of the 32-bit build");
#endif

}  // namespace spinox
