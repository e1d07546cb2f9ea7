// The plug-in's entry: the record the player loads, start-up and shutdown.
#include <windows.h>
// The shell headers below need windows.h first.
#include <commctrl.h>

#include "db/backup.h"
#include "db/journal.h"
#include "hitlist/hitlist.h"
#include "hitlist/list_memory.h"
#include "hitlist/period.h"
#include "plugin/shell_win.h"
#include "plugin/tick.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/hitlist/list_win.h"
#include "ui/hitlist/tool_win.h"
#include "ui/html/dialog_win.h"
#include "ui/osd/display_text.h"
#include "ui/osd/text_win.h"
#include "ui/settings/settings_win.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/controls_win.h"
#include "ui/toolkit/skin_win.h"

namespace spinox {

const char kPluginTitle[] = "Spinox v1.51";
const char kWebsite[] = "https://spinox.sourceforge.io/";

PluginRecord plugin = {kPluginRecordVersion, kPluginTitle, init, config, quit, nullptr, nullptr};
HWND hwnd_winamp = nullptr;
WNDPROC lpWndProcOld = nullptr;
EmbedWindowState* wa_wnd = nullptr;
EmbedWindowState* wa_wnd3 = nullptr;
HWND wa2 = nullptr;
HWND wa3 = nullptr;
HWND _hwndTool = nullptr;
HWND _hwndHit = nullptr;
HWND _hwndHTM = nullptr;
HWND _hwndDummy = nullptr;
HWND _hwndText = nullptr;

namespace {

ShellState gShell;

constexpr WindowRect kDefaultHitRect = {100, 100, 500, 400};
constexpr WindowRect kDefaultToolRect = {505, 100, 900, 350};

ShellHooks gShellHooks;

void InitCommonControlClasses() {
  INITCOMMONCONTROLSEX icc = {};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_DATE_CLASSES | ICC_BAR_CLASSES |
              ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&icc);
}

void RedrawListRow(int32_t row) {
  if (_hwndHit) LV_RedrawItem(_hwndHit, IDC_LIST, row);
}

void MarkPlayingRow() {
  CurrentHitlistPos(_data, RedrawListRow);
}

void RunAutomaticBackup() {
  BackupDatabase();
}

void InstallTickHooks() {
  TickHooks hooks;
  hooks.hideDisplay = HideDisplay;
  hooks.displayText = DisplayText;
  hooks.backupDatabase = RunAutomaticBackup;
  hooks.currentHitlistPos = MarkPlayingRow;
  SetTickHooks(hooks);
}

// Zero-filled, as the player expects; the rectangle says where the frame goes.
EmbedWindowState* NewEmbedRecord(const WindowRect& r) {
  auto* state = static_cast<EmbedWindowState*>(GlobalAlloc(GPTR, sizeof(EmbedWindowState)));
  if (state) SetRect(&state->r, r.left, r.top, r.right, r.bottom);
  return state;
}

HWND EmbedFrame(EmbedWindowState* state) {
  return state ? QueryEmbedFrame(plugin.hwndParent, state) : nullptr;
}

HWND CreateIn(HWND parent, int dialog, DLGPROC proc) {
  if (!parent) return nullptr;
  return CreateDialogParamA(plugin.hDllInstance, MAKEINTRESOURCEA(dialog), parent, proc, 0);
}

// Steps 4 to 7: the frames from the player, the two windows inside them.
void CreateEmbeddedWindows() {
  WindowRect hit = kDefaultHitRect, tool = kDefaultToolRect;
  GetRects(&hit, &tool);
  wa_wnd = NewEmbedRecord(tool);
  wa_wnd3 = NewEmbedRecord(hit);
  wa2 = EmbedFrame(wa_wnd);
  wa3 = EmbedFrame(wa_wnd3);
  _hwndTool = CreateIn(wa2, IDD_TOOL, DlgProcTool);
  _hwndHit = CreateIn(wa3, IDD_HITLIST, DlgProcList);
}

void CreateOwnedWindows() {
  HINSTANCE instance = plugin.hDllInstance;
  _hwndHTM = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_HTML), _hwndHit, DlgProcHTM, 0);
  _hwndDummy = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_TEXT), nullptr, dummy, 0);
  _hwndText = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_TEXT), _hwndDummy, DlgProcText, 0);
}

template <typename... A>
void Call(void (*hook)(A...), A... args) {
  if (hook) hook(args...);
}

void LoadSettings() {
  Call(gShellHooks.initHTM);
  // A change that a process ended in the middle of is undone before anything is read.
  RecoverDatabase(nullptr);
  DatFileLoad load = LoadDatFile();
  PutWindowSettings();
  EnablePlug(load.enabled != 0 ? 1 : 0);
  _timer = 0;
  _added = 0;
  Call(gShellHooks.prepareColors);
  Call(gShellHooks.prepareColumns, static_cast<int>(_type));
  Call(gShellHooks.initTool);
}

// The player keeps writing a frame's place into its record while the frame lives, so the
// frames go before their records are freed.
void ReleaseFrames() {
  for (HWND frame : {wa2, wa3}) {
    if (frame && IsWindow(frame)) DestroyWindow(frame);
  }
  wa2 = wa3 = nullptr;
  if (wa_wnd) GlobalFree(wa_wnd);
  if (wa_wnd3) GlobalFree(wa_wnd3);
  wa_wnd = wa_wnd3 = nullptr;
}

void DestroyWindows() {
  HWND* windows[] = {&_hwndHit, &_hwndTool, &_hwndText, &_hwndHTM, &_hwndDummy};
  for (HWND* w : windows) {
    if (*w) DestroyWindow(*w);
    *w = nullptr;
  }
}

}  // namespace

ShellHooks& CurrentShellHooks() {
  return gShellHooks;
}

ShellState& Shell() {
  return gShell;
}

int init() {
  HWND player = plugin.hwndParent;
  gShell.instance = plugin.hDllInstance;
  InstallAnsiCodePage();
  InstallWinampPlayer(player);
  InstallWin32User();
  InstallTickHooks();
  InitCommonControlClasses();
  ChooseDataFolder();
  HookPlayerWindow(player);
  hwnd_winamp = player;
  AddTrayIcon(player, plugin.hDllInstance, IDI_ENABLED, NIM_ADD, kPluginTitle);
  CreateEmbeddedWindows();
  _txt_showing = 0;
  _end = _start = _check = 0;
  CreateOwnedWindows();
  SetWinampWnd(player);
  LoadSettings();
  Enable(_hwndHit, IDC_PERIODSCROLL, 0);
  SetTimer(player, kTickTimer, kTickPeriod, TickTimerProc);
  if (_hwndText) SetWindowPos(_hwndText, nullptr, 0, 0, 2000, 2000, SWP_NOZORDER | SWP_NOACTIVATE);
  AllocateHitList(_size, true);
  ResolveCurrentTrack();
  AddTrayIcon(player, plugin.hDllInstance, _enabled ? IDI_ENABLED : IDI_DISABLED, NIM_MODIFY,
              kPluginTitle);
  return 0;
}

void config() {
  EnableWindow(_hwndTool, FALSE);
  EnableWindow(_hwndHit, FALSE);
  HideDisplay();
  BackupTextShowSettings(1);
  DialogBoxParamA(plugin.hDllInstance, MAKEINTRESOURCEA(IDD_SETTINGS), GetWinampWnd(),
                  DlgProcSettings, 0);
  HideDisplay();
  EnableWindow(_hwndTool, TRUE);
  EnableWindow(_hwndHit, TRUE);
}

void quit() {
  KillTimer(hwnd_winamp, kTickTimer);
  TakeWindowSettings();
  WriteDataFile();
  WADlg_close(gShell.skin);
  DestroyWindows();
  ClearTray(hwnd_winamp);
  UnhookPlayerWindow();
  ReleaseFrames();
  FreeHitList();
  ReleaseDisplayObjects();
  SetTickHooks(TickHooks());
  RemoveWin32User();
  RemoveWinampPlayer();
}

}  // namespace spinox

extern "C" __declspec(dllexport) spinox::PluginRecord* winampGetGeneralPurposePlugin() {
  return &spinox::plugin;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
