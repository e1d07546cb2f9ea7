// The hook on the player's main window: the timer tick, the tray icon and its menu.
#pragma once
#include <windows.h>

namespace spinox {

constexpr UINT_PTR kTickTimer = 1923;  // on the player window, once a second
constexpr UINT kTickPeriod = 1000;
constexpr UINT kTrayMessage = WM_USER + 48;  // 1072: tray icon events, the event in lParam
constexpr UINT kTrayIconId = 13;

// Switches counting on or off; the tray icon follows. Nothing happens when already so.
void EnablePlug(int flag);
// The player's main window, as Shell().hwnd_winamp holds it.
void SetWinampWnd(HWND player);
HWND GetWinampWnd();

// The replacement procedure of the player's main window. Between init and quit it does the
// plug-in's work; every message, handled or not, goes on to the procedure it replaced.
LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// The timer's procedure: the tick as WndProc runs it for a timer message.
void CALLBACK TickTimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD time);
// Installs WndProc on the player window, keeping the procedure it replaces in
// Shell().lpWndProcOld.
bool HookPlayerWindow(HWND player);
// The window gets the procedure it had back when WndProc is still the one installed. When a
// later guest has subclassed the window over WndProc, WndProc stays in the chain (its module
// pinned in memory) and only passes messages on, until it is on top again.
void UnhookPlayerWindow();

// The tray icon: action NIM_ADD or NIM_MODIFY; ClearTray removes it.
BOOL AddTrayIcon(HWND hwnd, HINSTANCE instance, int iconResource, DWORD action, const char* tip);
BOOL ClearTray(HWND hwnd);

// Shows both embedded windows and their frames and brings the player forward.
void ShowHitlistWindows();

}  // namespace spinox
