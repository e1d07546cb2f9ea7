// The plug-in's entry: the record the player loads, start-up and shutdown.
#include <windows.h>
// The shell headers below need windows.h first.
#include <commctrl.h>

#include "base/user.h"
#include "db/backup.h"
#include "db/convert_text.h"
#include "db/journal.h"
#include "db/text_encoding.h"
#include "hitlist/hitlist.h"
#include "hitlist/period.h"
#include "hitlist/shown_list.h"
#include "plugin/codepage_win.h"
#include "plugin/datadir_win.h"
#include "plugin/player_win.h"
#include "plugin/plugin_win.h"
#include "plugin/tick.h"
#include "plugin/user_win.h"
#include "plugin/window_settings_win.h"
#include "plugin/wndproc_win.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "ui/hitlist/list_win.h"
#include "ui/hitlist/tool_win.h"
#include "ui/hitlist/view_win.h"
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

namespace {

ShellState gShell;

// The play in progress and what the tick starts.
TickState gTick;
TickHooks gTickHooks;

void InitCommonControlClasses() {
  INITCOMMONCONTROLSEX icc = {};
  icc.dwSize = sizeof icc;
  icc.dwICC = ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_DATE_CLASSES | ICC_BAR_CLASSES |
              ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&icc);
}

void RedrawListRow(int32_t row) {
  if (gShell._hwndHit) LV_RedrawItem(gShell._hwndHit, IDC_LIST, row);
}

void MarkPlayingRow() {
  CurrentHitlistPos(gShell.list, gTick._data, RedrawListRow);
}

// The display for the track playing; the tick takes it down when its time is up.
void ShowDisplay() {
  if (!DisplayText(gTick._data)) return;
  gShell.osd._txt_timeNow = 0;
  gShell.osd._txt_showing = 1;
}

void InstallShellHooks() {
  gShell.EnablePlug = EnablePlug;
  gShell.QuerySkinBitmap = QuerySkinBitmap;
  gShell.ShowDisplay = ShowDisplay;
  gShell.MarkPlayingRow = MarkPlayingRow;
}

void RunAutomaticBackup() {
  BackupDatabase();
}

void InstallTickHooks() {
  gTickHooks.hideDisplay = HideDisplay;
  gTickHooks.displayText = ShowDisplay;
  gTickHooks.backupDatabase = RunAutomaticBackup;
  gTickHooks.currentHitlistPos = MarkPlayingRow;
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
  return CreateDialogParamW(plugin.hDllInstance, MAKEINTRESOURCEW(dialog), parent, proc, 0);
}

// Steps 4 to 7: the frames from the player, the two windows inside them.
void CreateEmbeddedWindows() {
  GetRects(&gShell.settings);
  gShell.wa_wnd = NewEmbedRecord(gShell.settings._rectTool);
  gShell.wa_wnd3 = NewEmbedRecord(gShell.settings._rectHit);
  gShell.wa2 = EmbedFrame(gShell.wa_wnd);
  gShell.wa3 = EmbedFrame(gShell.wa_wnd3);
  gShell._hwndTool = CreateIn(gShell.wa2, IDD_TOOL, DlgProcTool);
  gShell._hwndHit = CreateIn(gShell.wa3, IDD_HITLIST, DlgProcList);
}

void CreateOwnedWindows() {
  HINSTANCE instance = plugin.hDllInstance;
  ShellState& s = gShell;
  s._hwndHTM = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_HTML), s._hwndHit, DlgProcHTM, 0);
  s._hwndDummy = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_TEXT), nullptr, dummy, 0);
  s._hwndText =
      CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_TEXT), s._hwndDummy, DlgProcText, 0);
}

// Record files without a settings file are converted here, and a new folder is marked. An
// earlier version's database that cannot be converted now (another program holds it, the disk
// is full) is left as it is: nothing is written to it, and the play waits until a later tick
// converts it. The user is told once.
void ConvertTextsAtStart() {
  if (EnsureUtf8Database() != TextConversion::kFailed) return;
  if (StoredTextEncoding() != TextEncoding::kAnsi)
    return;  // a new folder: marked at its first play
  CurrentUser().Tell("Spinox could not convert its database to Unicode yet:\n" + LastIoError() +
                         "\n\nThe database was not changed. Plays are recorded once it can be "
                         "converted.",
                     kPluginTitle);
}

void LoadSettings() {
  InitHTM();
  // A change that a process ended in the middle of is undone before anything is read.
  RecoverDatabase(nullptr);
  // The old single-file layout is split and an earlier version's texts are converted to UTF-8
  // while the settings are loaded.
  DatFileLoad load = LoadDatFile(&gShell.settings);
  ConvertTextsAtStart();
  PutWindowSettings();
  EnablePlug(load.enabled != 0 ? 1 : 0);
  gTick._timer = 0;
  gTick._added = 0;
  PrepareColors();
  PrepareColumns(static_cast<int>(gShell.list.settings._type));
  InitTool();
}

// The player keeps writing a frame's place into its record while the frame lives, so the
// frames go before their records are freed.
void ReleaseFrames() {
  for (HWND* frame : {&gShell.wa2, &gShell.wa3}) {
    if (*frame && IsWindow(*frame)) DestroyWindow(*frame);
    *frame = nullptr;
  }
  for (EmbedWindowState** record : {&gShell.wa_wnd, &gShell.wa_wnd3}) {
    if (*record) GlobalFree(*record);
    *record = nullptr;
  }
}

void DestroyWindows() {
  HWND* windows[] = {&gShell._hwndHit, &gShell._hwndTool, &gShell._hwndText, &gShell._hwndHTM,
                     &gShell._hwndDummy};
  for (HWND* w : windows) {
    if (*w) DestroyWindow(*w);
    *w = nullptr;
  }
}

}  // namespace

ShellState& Shell() {
  return gShell;
}

void RunTick() {
  PlayTick(Tick{&gShell.settings, &gTick, &gShell.osd, gTickHooks});
}

int init() {
  HWND player = plugin.hwndParent;
  gShell.instance = plugin.hDllInstance;
  InstallShellHooks();
  InstallAnsiCodePage();
  InstallWinampPlayer(player);
  InstallWin32User();
  InstallTickHooks();
  InitCommonControlClasses();
  ChooseDataFolder();
  HookPlayerWindow(player);
  gShell.hwnd_winamp = player;
  AddTrayIcon(player, plugin.hDllInstance, IDI_ENABLED, NIM_ADD, kPluginTitle);
  CreateEmbeddedWindows();
  gShell.osd._txt_showing = 0;
  gShell.settings.list._end = gShell.settings.list._start = gShell.settings.list._check = 0;
  CreateOwnedWindows();
  SetWinampWnd(player);
  LoadSettings();
  Enable(gShell._hwndHit, IDC_PERIODSCROLL, 0);
  SetTimer(player, kTickTimer, kTickPeriod, TickTimerProc);
  if (gShell._hwndText)
    SetWindowPos(gShell._hwndText, nullptr, 0, 0, 2000, 2000, SWP_NOZORDER | SWP_NOACTIVATE);
  AllocateHitList(gShell.list, gShell.list.settings._size, true);
  ResolveCurrentTrack(&gTick);
  AddTrayIcon(player, plugin.hDllInstance, gShell.settings._enabled ? IDI_ENABLED : IDI_DISABLED,
              NIM_MODIFY, kPluginTitle);
  return 0;
}

void config() {
  EnableWindow(gShell._hwndTool, FALSE);
  EnableWindow(gShell._hwndHit, FALSE);
  HideDisplay();
  // Cancel puts back the display settings the dialog tried out.
  Settings before = gShell.settings;
  DialogBoxParamW(plugin.hDllInstance, MAKEINTRESOURCEW(IDD_SETTINGS), GetWinampWnd(),
                  DlgProcSettings, reinterpret_cast<LPARAM>(&before));
  HideDisplay();
  EnableWindow(gShell._hwndTool, TRUE);
  EnableWindow(gShell._hwndHit, TRUE);
}

void quit() {
  KillTimer(gShell.hwnd_winamp, kTickTimer);
  TakeWindowSettings();
  WriteDataFile(gShell.settings);
  WADlg_close(gShell.skin);
  DestroyWindows();
  ClearTray(gShell.hwnd_winamp);
  UnhookPlayerWindow();
  ReleaseFrames();
  gShell.list._hitlist = {};
  ReleaseDisplayObjects();
  gTickHooks = TickHooks();
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
