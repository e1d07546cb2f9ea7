// The plug-in's Win32 shell: the record the player loads, the windows made at start-up, the
// hook on the player's main window and the tray icon.
#pragma once
#include <windows.h>

#include "plugin/host_win.h"

namespace spinox {

constexpr UINT_PTR kTickTimer = 1923;  // on the player window, once a second
constexpr UINT kTickPeriod = 1000;
constexpr UINT kTrayMessage = WM_USER + 48;  // 1072: tray icon events, the event in lParam
constexpr UINT kTrayIconId = 13;
extern const char kPluginTitle[];  // "Spinox v1.51": record description and tray tip
extern const char kWebsite[];

// The record the player loads; the windows and handles are in Shell() (ui/shell_state_win.h).
extern PluginRecord plugin;

int init();
void config();
void quit();

// Switches counting on or off; the tray icon follows. Nothing happens when already so.
void EnablePlug(int flag);
// The player's main window, as Shell().hwnd_winamp holds it.
void SetWinampWnd(HWND player);
HWND GetWinampWnd();

// The replacement procedure of the player's main window. Between init and quit it does the
// plug-in's work; every message, handled or not, goes on to the procedure it replaced.
LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// One tick of play detection on the plug-in's settings, play and display.
void RunTick();
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

// The folder of the data files, decided once at start-up: the player's plugins folder when it
// can be written to, else the per-user %APPDATA%\Winamp\plugins (made when missing). The
// first time the per-user folder is used, the plugins folder's database and settings are
// copied to it and the user is told; when that copy fails the plugins folder stays in use.
void ChooseDataFolder();
// True when a file can be created in `folder`.
bool FolderWritable(const char* folder);

// Installs the process's ANSI code page as the system's text encoding.
void InstallAnsiCodePage();
// Questions and notes as message boxes owned by the player window.
void InstallWin32User();
void RemoveWin32User();

// Puts the loaded settings into the windows: frames to their rectangles, the HTML dialog's
// fields into its controls. TakeWindowSettings reads them back before the file is written.
void PutWindowSettings();
void TakeWindowSettings();

}  // namespace spinox
