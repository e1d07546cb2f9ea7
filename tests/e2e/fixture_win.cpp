#include "tests/e2e/fixture_win.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>

#include "tests/e2e/iat_hook_win.h"

namespace spinox::e2e {

std::vector<TrayCall> gTrayCalls;
std::vector<std::vector<MenuItem>> gMenus;
std::vector<std::string> gShellOpened;
std::vector<std::string> gNotes;
std::string gUnwritableFolder;

namespace {

using NotifyFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAA);
NotifyFn gRealNotify = nullptr;

BOOL WINAPI WatchNotify(DWORD action, PNOTIFYICONDATAA data) {
  gTrayCalls.push_back(TrayCall{action, data->uID, data->uFlags, data->uCallbackMessage,
                                data->hIcon, std::string(data->szTip)});
  return gRealNotify ? gRealNotify(action, data) : TRUE;
}

// The menu is read, then dismissed at once, as if the user clicked elsewhere.
BOOL WINAPI WatchTrackPopupMenu(HMENU menu, UINT, int, int, int, HWND, const RECT*) {
  std::vector<MenuItem> items;
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[100] = {};
    GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
    items.push_back(MenuItem{GetMenuItemID(menu, i), text});
  }
  gMenus.push_back(items);
  return FALSE;
}

HINSTANCE WINAPI WatchShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
  gShellOpened.push_back(file ? file : "");
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

int WINAPI WatchMessageBox(HWND, LPCSTR text, LPCSTR, UINT) {
  gNotes.push_back(text ? text : "");
  return IDOK;
}

UINT WINAPI WatchTempFileName(LPCSTR folder, LPCSTR prefix, UINT unique, LPSTR out) {
  if (folder && lstrcmpiA(folder, gUnwritableFolder.c_str()) == 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  return GetTempFileNameA(folder, prefix, unique, out);
}

void (*gLaterAction)() = nullptr;

void CALLBACK LaterProc(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (gLaterAction) gLaterAction();
}

// A crash ends the run at once with where it happened, instead of waiting for a debugger.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  void* at = info->ExceptionRecord->ExceptionAddress;
  HMODULE module = nullptr;
  char name[MAX_PATH] = "?";
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      static_cast<const char*>(at), &module);
  if (module) GetModuleFileNameA(module, name, sizeof name);
  std::fprintf(stderr, "crash: exception 0x%lx at %s+0x%llx\n",
               info->ExceptionRecord->ExceptionCode, name,
               static_cast<unsigned long long>(static_cast<const char*>(at) -
                                               reinterpret_cast<const char*>(module)));
  std::fflush(stderr);
  ExitProcess(3);
}

const bool kCrashReporter = (SetUnhandledExceptionFilter(ReportCrash), true);

// As on Windows, where TZ is not set, the C run-time (one msvcrt.dll for the tests and the
// plug-in) follows the system's time zone, which Wine takes from the Unix TZ
// (scripts/wine_tests.sh runs the suite in Europe/Berlin). Wine also copies the Unix TZ into
// the Windows environment, where the run-time would misread "Europe/Berlin" as a zone
// written in its own format.
const bool kSystemTimeZone = (_putenv("TZ="), _tzset(), true);

void WatchPlugin(HMODULE module) {
  void* real =
      HookImport(module, "shell32.dll", "Shell_NotifyIconA", reinterpret_cast<void*>(WatchNotify));
  // A module that stayed loaded from an earlier test is watched already.
  if (real != reinterpret_cast<void*>(WatchNotify)) gRealNotify = reinterpret_cast<NotifyFn>(real);
  HookImport(module, "user32.dll", "TrackPopupMenu", reinterpret_cast<void*>(WatchTrackPopupMenu));
  HookImport(module, "shell32.dll", "ShellExecuteA", reinterpret_cast<void*>(WatchShellExecute));
  HookImport(module, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(WatchMessageBox));
  HookImport(module, "kernel32.dll", "GetTempFileNameA",
             reinterpret_cast<void*>(WatchTempFileName));
}

}  // namespace

void PluginTest::SetUp() {
  folder_ = ExeFolder();
  RemoveTree(PluginsFolder());
  RemoveTree(UserFolder());
  RemoveTree(folder_ + "\\music");
  CreateDirectoryA(PluginsFolder().c_str(), nullptr);
  CreateDirectoryA((folder_ + "\\music").c_str(), nullptr);
  CreateDirectoryA(UserFolder().c_str(), nullptr);
  SetEnvironmentVariableA("APPDATA", UserFolder().c_str());
  gTrayCalls.clear();
  gMenus.clear();
  gShellOpened.clear();
  gNotes.clear();
  gUnwritableFolder.clear();
  player = std::make_unique<TestPlayer>();
}

void PluginTest::TearDown() {
  player.reset();
}

void PluginTest::StartPlugin(bool keepRealTimer) {
  ASSERT_TRUE(player->Load(folder_ + "\\" + dllName));
  ASSERT_NE(player->plugin(), nullptr);
  WatchPlugin(player->module());
  ASSERT_EQ(player->Init(), 0);
  if (!keepRealTimer) player->StopRealTimer();
  player->Pump();
}

std::string PluginTest::MakeTrack(const std::string& name, const char* title, const char* artist,
                                  const char* album) {
  std::string path = MusicFile(name);
  std::ofstream out(path, std::ios::binary);
  std::string audio(256, '\x55');
  out << audio;
  if (title) {
    char tag[128] = {'T', 'A', 'G'};
    std::strncpy(tag + 3, title, 30);
    std::strncpy(tag + 33, artist, 30);
    std::strncpy(tag + 63, album, 30);
    tag[127] = static_cast<char>(255);
    out.write(tag, sizeof tag);
  }
  return path;
}

void PluginTest::WriteSettings(const SettingsRecord& rec) {
  ASSERT_TRUE(WriteSettingsFile(DataFile("gen_spinox.dat"), rec));
}

const TrayCall& PluginTest::LastTray() const {
  static const TrayCall kNone = {};
  return gTrayCalls.empty() ? kNone : gTrayCalls.back();
}

HICON PluginTest::Icon(int resource) const {
  return LoadIconA(player->module(), MAKEINTRESOURCEA(resource));
}

std::vector<MenuItem> PluginTest::TrayMenu() {
  size_t before = gMenus.size();
  SendMessageA(player->window(), WM_USER + 48, 13, WM_RBUTTONUP);
  player->Pump();
  return gMenus.size() > before ? gMenus.back() : std::vector<MenuItem>();
}

void PluginTest::Command(WPARAM command) {
  SendMessageA(player->window(), WM_COMMAND, command, 0);
  player->Pump();
}

int64_t SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path) {
  if (!IsFolder(path)) {
    DeleteFileA(path.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((path + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name != "." && name != "..") RemoveTree(path + "\\" + name);
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(path.c_str());
}

std::vector<unsigned char> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

RECT WindowRectOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

void Later(int ms, void (*action)()) {
  gLaterAction = action;
  SetTimer(nullptr, 0, static_cast<UINT>(ms), LaterProc);
}

}  // namespace spinox::e2e
