// spinox-osd-demo.exe: plays a playlist with the plug-in's on-screen display switched on and
// holds the display on the screen for a screenshot, shows the settings dialog on its display
// page and the "Generate HTML" dialog the same way, then writes the chart page through that
// dialog with the settings it loaded.
//
//   spinox-osd-demo.exe PLAYLIST.m3u PAGE.htm MARKER
//
// The plug-in is plugins\gen_spinox.dll beside this program. For each screenshot MARKER is
// written with a name and the window's place ("osd 40 560 2040 2560"), and the demo waits until
// MARKER is deleted.
#include <windows.h>
// System headers below need windows.h first.
#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "base/codepage.h"
#include "base/text.h"
#include "db/paths.h"
#include "resources/resource.h"
#include "settings/settings.h"
#include "tests/e2e/iat_hook_win.h"
#include "tests/e2e/test_player_win.h"

namespace spinox::e2e {
namespace {

constexpr DWORD kMarkerTimeout = 60000;  // ms

std::string gPage;
std::string gMarker;
TestPlayer* gPlayer = nullptr;

// The plug-in asks with the wide calls; the page's path is answered in UTF-16.
BOOL WINAPI AnswerSave(LPOPENFILENAMEW ofn) {
  std::wstring page = WideFromUtf8(gPage);
  if (!ofn->lpstrFile || ofn->nMaxFile <= page.size()) return FALSE;
  std::wmemcpy(ofn->lpstrFile, page.c_str(), page.size() + 1);
  return TRUE;
}

HINSTANCE WINAPI ReportOpen(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
  std::printf("the page would open in the browser: %s\n",
              file ? Utf8FromWide(std::wstring(file)).c_str() : "");
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

// The display on, in a large bold face, and a few HTML settings of the dialog.
void WriteDemoSettings(const std::string& plugins) {
  SetDataDir(plugins);
  Settings rec = DefaultSettings();
  rec._txt = 1;
  SetField(rec._txt_font, "Tahoma");
  rec._txt_size = 44;
  rec._txt_bg = RGB(255, 190, 40);
  rec._txt_x = 40;
  rec._txt_y = 560;
  rec._txt_timeEnd = 60;
  rec._addTime = 30;
  rec.html._htm_table_brd = RGB(0x30, 0x50, 0x90);
  rec.html._htm_rest_bg = RGB(0xf4, 0xf6, 0xff);
  rec.html._htmDialog.borderWidth = 1;
  rec.html._htmDialog.topBold = 1;
  rec.html._htmDialog.tableWidth = 70;
  WriteSettingsFile(FullPath(kSettingsFile), rec);
}

BOOL CALLBACK MatchDisplay(HWND window, LPARAM found) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  bool topmost = (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (std::strcmp(name, "#32770") != 0 || !topmost || !GetWindow(window, GW_OWNER)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

HWND DisplayWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), MatchDisplay, reinterpret_cast<LPARAM>(&found));
  return found;
}

bool Exists(const std::string& path) {
  return GetFileAttributesW(WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Writes the marker and keeps the windows alive until it is gone.
void HoldForScreenshot(const char* name, HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  FILE* f = _wfopen(WideFromUtf8(gMarker).c_str(), L"w");
  if (f) {
    std::fprintf(f, "%s %ld %ld %ld %ld\n", name, r.left, r.top, r.right, r.bottom);
    std::fclose(f);
  }
  std::printf("%s is up at %ld,%ld: waiting for the screenshot\n", name, r.left, r.top);
  std::fflush(stdout);
  DWORD start = GetTickCount();
  while (Exists(gMarker) && GetTickCount() - start < kMarkerTimeout) gPlayer->Pump(50);
}

// Inside the settings dialog's own loop: the display page on show, then Cancel.
void CALLBACK ShowSettingsPage(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  HWND dialog = FindWindowW(nullptr, L"Spinox Settings");
  if (!dialog) return;
  SendDlgItemMessageA(dialog, IDC_SET_PAGES, LB_SETCURSEL, 2, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_SET_PAGES, LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SET_PAGES)));
  gPlayer->Pump(300);
  HoldForScreenshot("settings", dialog);
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

void Play(TestPlayer* player) {
  SendMessageA(player->window(), WM_COMMAND, kCommandPlay, 0);
  int last = static_cast<int>(player->playlist.size()) - 1;
  bool held = false;
  while (player->state == 1) {
    player->Tick(1);
    player->Pump(5);
    HWND display = DisplayWindow();
    if (!held && player->position == last && display && IsWindowVisible(display)) {
      player->Pump(200);
      HoldForScreenshot("osd", display);
      held = true;
    }
  }
}

// The songs of all time on show, then "Generate" in the HTML dialog.
bool GeneratePage(TestPlayer* player) {
  HWND tool = player->Embedded(0), hit = player->Embedded(1);
  if (!tool || !hit) return false;
  SendDlgItemMessageA(tool, IDC_PERIOD, CB_SETCURSEL, 4, 0);
  SendMessageA(tool, WM_COMMAND, MAKEWPARAM(IDC_PERIOD, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(tool, IDC_PERIOD)));
  SendDlgItemMessageA(tool, IDC_REFRESH, BM_CLICK, 0, 0);
  SendMessageA(hit, WM_COMMAND, ID_GENERATEHTML, 0);
  HWND dialog = FindWindowW(nullptr, L"Generate HTML");
  if (!dialog || !IsWindowVisible(dialog)) return false;
  player->Pump(300);
  HoldForScreenshot("html", dialog);
  SendDlgItemMessageA(dialog, IDOK, BM_CLICK, 0, 0);
  return GetFileAttributesW(WideFromUtf8(gPage).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int Run(const std::string& playlist) {
  std::string plugins = ExeFolder() + "\\plugins";
  WriteDemoSettings(plugins);
  TestPlayer player;
  gPlayer = &player;
  if (!player.LoadM3u(playlist) || !player.Load(plugins + "\\gen_spinox.dll")) {
    std::fprintf(stderr, "spinox-osd-demo: cannot load the playlist or the plug-in\n");
    return 1;
  }
  HookImport(player.module(), "comdlg32.dll", "GetSaveFileNameW",
             reinterpret_cast<void*>(AnswerSave));
  HookImport(player.module(), "shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(ReportOpen));
  player.Init();
  player.StopRealTimer();
  SendMessageA(player.window(), WM_COMMAND, 40003, 0);  // the hit list windows on show
  Play(&player);
  SetTimer(nullptr, 0, 300, ShowSettingsPage);
  player.plugin()->config();
  bool written = GeneratePage(&player);
  player.Unload();
  std::printf(written ? "page written: %s\n" : "no page written to %s\n", gPage.c_str());
  return written ? 0 : 1;
}

}  // namespace
}  // namespace spinox::e2e

// The arguments are taken wide, so the paths may be named in any script.
int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc != 4) {
    std::fputs("usage: spinox-osd-demo.exe PLAYLIST.m3u PAGE.htm MARKER\n", stderr);
    return 2;
  }
  auto arg = [&](int i) { return spinox::Utf8FromWide(argv[i], wcslen(argv[i])); };
  spinox::e2e::gPage = arg(2);
  spinox::e2e::gMarker = arg(3);
  std::string playlist = arg(1);
  LocalFree(argv);
  return spinox::e2e::Run(playlist);
}
