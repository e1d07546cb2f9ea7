// The hook on the player's main window: the timer tick, the tray icon and its menu.
#include <windows.h>
// The shell headers below need windows.h first.
#include <shellapi.h>

#include <cstring>

#include "base/codepage.h"
#include "base/text.h"
#include "plugin/player_win.h"
#include "plugin/plugin_win.h"
#include "plugin/wndproc_win.h"
#include "resources/resource.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/controls_win.h"
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
  HMENU menu = LoadMenuW(plugin.hDllInstance, MAKEINTRESOURCEW(IDR_TRAYMENU));
  if (!menu) return;
  POINT at = {};
  GetCursorPos(&at);
  SetForegroundWindow(player);
  TrackPopupMenu(GetSubMenu(menu, Shell().settings._enabled ? 0 : 1), TPM_CENTERALIGN, at.x, at.y,
                 0, player, nullptr);
  PostMessageW(player, WM_NULL, 0, 0);
  DestroyMenu(menu);
}

void OnTray(HWND player, LPARAM event) {
  if (event == kTrayLeftUp && Shell().settings._enabled) ShowHitlistWindows();
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
      OpenInShell(nullptr, kWebsite);
      break;
    case ID_DISABLE:
      EnablePlug(0);
      break;
    case ID_ENABLE:
      EnablePlug(1);
      break;
  }
}

// Gives the window back the procedure it had, when WndProc is still the one installed (else a
// later guest's procedure would be thrown away with ours). True when WndProc is out of the chain.
bool LeaveChainWhenOnTop(HWND window) {
  ShellState& shell = Shell();
  if (!shell.lpWndProcOld) return true;
  if (!IsWindow(window)) {
    shell.lpWndProcOld = nullptr;
    shell.hookedWindow = nullptr;
    return true;
  }
  auto installed = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (window != shell.hookedWindow || installed != WndProc) return false;
  SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(shell.lpWndProcOld));
  shell.lpWndProcOld = nullptr;
  shell.hookedWindow = nullptr;
  return true;
}

}  // namespace

void ShowHitlistWindows() {
  ShowWithFrame(Shell()._hwndHit);
  ShowWithFrame(Shell()._hwndTool);
  SetForegroundWindow(GetWinampWnd());
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  const ShellState& shell = Shell();
  if (shell.running) {
    if (message == WM_TIMER && wParam == kTickTimer) RunTick();
    if (message == kTrayMessage) OnTray(hwnd, lParam);
    if (message == WM_COMMAND) OnCommand(wParam);
    if (message == WM_DISPLAYCHANGE) WADlg_init(Shell().skin, QuerySkinBitmap(hwnd));
  }
  WNDPROC next = shell.lpWndProcOld;
  if (!shell.running) LeaveChainWhenOnTop(hwnd);
  // Without a procedure to pass on to (the hook never took), the message is left unanswered:
  // the player's window is never handed to the default procedure.
  return next ? CallWindowProcW(next, hwnd, message, wParam, lParam) : 0;
}

void CALLBACK TickTimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD time) {
  WndProc(hwnd, message, id, static_cast<LPARAM>(time));
}

bool HookPlayerWindow(HWND player) {
  ShellState& shell = Shell();
  shell.running = true;
  // Still in the chain from an earlier start on this window (a guest that came later holds
  // WndProc): the hook is there already, and subclassing again would make a loop.
  if (shell.lpWndProcOld && shell.hookedWindow == player && IsWindow(player)) return true;
  shell.lpWndProcOld = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(player, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WndProc)));
  shell.hookedWindow = shell.lpWndProcOld ? player : nullptr;
  return shell.lpWndProcOld != nullptr;
}

void UnhookPlayerWindow() {
  ShellState& shell = Shell();
  shell.running = false;
  if (!shell.lpWndProcOld) return;
  if (LeaveChainWhenOnTop(shell.hookedWindow)) return;
  // A guest that subclassed the window after us holds WndProc as its previous procedure and
  // calls it for every message, so the code stays loaded for the life of the process and
  // WndProc passes each message on; it steps out once it is on top again.
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                     reinterpret_cast<LPCSTR>(&WndProc), &self);
}

void EnablePlug(int flag) {
  ShellState& shell = Shell();
  if (flag == shell.settings._enabled) return;
  if (!flag) shell.osd._txt_showing = 0;
  AddTrayIcon(GetWinampWnd(), plugin.hDllInstance, flag ? IDI_ENABLED : IDI_DISABLED, NIM_MODIFY,
              kPluginTitle);
  shell.settings._enabled = flag;
}

void SetWinampWnd(HWND player) {
  Shell().hwnd_winamp = player;
}

HWND GetWinampWnd() {
  return Shell().hwnd_winamp;
}

BOOL AddTrayIcon(HWND hwnd, HINSTANCE instance, int iconResource, DWORD action, const char* tip) {
  NOTIFYICONDATAW data = {};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = hwnd;
  data.uID = kTrayIconId;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = kTrayMessage;
  data.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(iconResource));
  // The tip is cut to its field between characters: a surrogate pair is never split.
  std::wstring wide = WideFromUtf8(tip ? tip : "");
  size_t room = sizeof data.szTip / sizeof data.szTip[0] - 1;
  if (wide.size() > room) wide.resize(IS_HIGH_SURROGATE(wide[room - 1]) ? room - 1 : room);
  wide.copy(data.szTip, wide.size());
  return Shell_NotifyIconW(action, &data);
}

BOOL ClearTray(HWND hwnd) {
  NOTIFYICONDATAW data = {};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = hwnd;
  data.uID = kTrayIconId;
  return Shell_NotifyIconW(NIM_DELETE, &data);
}

#ifndef _WIN64
static_assert(NOTIFYICONDATAW_V1_SIZE == 152, "the tray icon record of the 32-bit build");
#endif

}  // namespace spinox
