// The installer test's helper under Wine (scripts/installer_tests.sh):
//
//   spinox-installer-probe player MARKER SECONDS [stubborn]
//       stands in for a running player: a main window of the player's class that holds
//       plugins\gen_spinox.dll (when there is one) loaded from beside the program, as the player
//       does. Writes MARKER
//       once the window is up. Exits 0 when closed by WM_CLOSE, 3 when SECONDS pass first; a
//       stubborn one ignores WM_CLOSE.
//   spinox-installer-probe next TITLE
//       presses the default button (Next, Install, Finish: id 1) of the window titled TITLE,
//       waiting up to 10 s for that window. Exits 0 when pressed, 1 when no such window.
//   spinox-installer-probe rect TITLE
//       prints the screen rectangle (left top right bottom) of the window titled TITLE, waiting
//       up to 10 s for it. Exits 1 when no such window.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char kPlayerClass[] = "Winamp v1.x";
const UINT_PTR kLifetimeTimer = 1;
bool gStubborn = false;

LRESULT CALLBACK PlayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (!gStubborn) DestroyWindow(window);
      return 0;
    case WM_TIMER:
      if (wParam == kLifetimeTimer) PostQuitMessage(3);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool WriteMarker(const char* path) {
  FILE* f = std::fopen(path, "w");
  if (!f) return false;
  bool ok = std::fputs("up\n", f) >= 0;
  return std::fclose(f) == 0 && ok;
}

int RunPlayer(const char* marker, int seconds) {
  char dll[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, dll, sizeof dll);
  char* slash = n > 0 && n < sizeof dll ? std::strrchr(dll, '\\') : nullptr;
  if (!slash || std::strlen(dll) + 30 > sizeof dll) return 2;
  std::strcpy(slash + 1, "plugins\\gen_spinox.dll");
  HMODULE plugin = nullptr;
  if (GetFileAttributesA(dll) != INVALID_FILE_ATTRIBUTES && !(plugin = LoadLibraryA(dll))) {
    std::fprintf(stderr, "probe: cannot load %s\n", dll);
    return 2;
  }
  WNDCLASSA wc = {};
  wc.lpfnWndProc = PlayerProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kPlayerClass;
  HWND window = RegisterClassA(&wc)
                    ? CreateWindowExA(0, kPlayerClass, "Winamp", WS_OVERLAPPED, 0, 0, 275, 116,
                                      nullptr, nullptr, wc.hInstance, nullptr)
                    : nullptr;
  if (!window || !SetTimer(window, kLifetimeTimer, static_cast<UINT>(seconds) * 1000, nullptr) ||
      !WriteMarker(marker)) {
    if (plugin) FreeLibrary(plugin);
    return 2;
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  if (plugin) FreeLibrary(plugin);
  return static_cast<int>(msg.wParam);
}

// The window titled `title` whose default button is enabled (a page or message box ready for
// the user), after waiting up to 10 s; null when none.
// Setup's pages may add blanks to the title.
struct Search {
  const char* title;
  HWND window, button;
};

BOOL CALLBACK MatchReady(HWND window, LPARAM lParam) {
  Search* search = reinterpret_cast<Search*>(lParam);
  char text[256];
  size_t n = std::strlen(search->title);
  if (!IsWindowVisible(window) || !GetWindowTextA(window, text, sizeof text) ||
      std::strncmp(text, search->title, n) != 0 || text[n + std::strspn(text + n, " ")] != 0)
    return TRUE;
  HWND button = GetDlgItem(window, IDOK);
  if (!button || !IsWindowEnabled(button)) return TRUE;
  search->window = window;
  search->button = button;
  return FALSE;
}

HWND ReadyWindow(const char* title, HWND* button) {
  for (int i = 0; i < 100; ++i) {
    Search search = {title, nullptr, nullptr};
    EnumWindows(MatchReady, reinterpret_cast<LPARAM>(&search));
    *button = search.button;
    if (search.window) return search.window;
    Sleep(100);
  }
  std::fprintf(stderr, "probe: no window \"%s\" with an enabled default button\n", title);
  return nullptr;
}

int PressNext(const char* title) {
  HWND button;
  HWND window = ReadyWindow(title, &button);
  if (!window) return 1;
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return 0;
}

int PrintRect(const char* title) {
  HWND button;
  HWND window = ReadyWindow(title, &button);
  RECT r;
  if (!window || !GetWindowRect(window, &r)) return 1;
  std::printf("%ld %ld %ld %ld\n", static_cast<long>(r.left), static_cast<long>(r.top),
              static_cast<long>(r.right), static_cast<long>(r.bottom));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "player") == 0) {
    gStubborn = argc >= 5 && std::strcmp(argv[4], "stubborn") == 0;
    return RunPlayer(argv[2], std::atoi(argv[3]));
  }
  if (argc == 3 && std::strcmp(argv[1], "next") == 0) return PressNext(argv[2]);
  if (argc == 3 && std::strcmp(argv[1], "rect") == 0) return PrintRect(argv[2]);
  std::fprintf(stderr, "usage: %s player MARKER SECONDS [stubborn] | next TITLE | rect TITLE\n",
               argv[0]);
  return 2;
}
