#include "tests/e2e/test_player_win.h"

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <sstream>

#include "base/codepage.h"

namespace spinox::e2e {

namespace {

const char kPlayerClass[] = "SpinoxTestPlayer";
const char kFrameClass[] = "SpinoxTestFrame";

// The frame keeps its record's rectangle current and its one child filling it.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = reinterpret_cast<EmbedWindowState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == WM_WINDOWPOSCHANGED && state) GetWindowRect(hwnd, &state->r);
  if (message == WM_SIZE) {
    HWND child = GetWindow(hwnd, GW_CHILD);
    if (child) MoveWindow(child, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
  }
  if (message == WM_CLOSE) {
    ShowWindow(hwnd, SW_HIDE);
    return 0;
  }
  if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;  // replaced per window once `this` is known
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPlayerClass;
  RegisterClassA(&wc);
  wc.lpfnWndProc = FrameProc;
  wc.lpszClassName = kFrameClass;
  RegisterClassA(&wc);
  done = true;
}

// The second guest: one per process, like a plug-in's globals.
struct Guest {
  HWND window = nullptr;
  WNDPROC previous = nullptr;  // set while GuestProc is in the window's chain
  bool running = false;
  int messages = 0;
} gGuest;

LRESULT CALLBACK GuestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

bool GuestLeaveWhenOnTop() {
  if (!gGuest.previous) return true;
  if (GetWindowLongPtrA(gGuest.window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(GuestProc))
    return false;
  SetWindowLongPtrA(gGuest.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gGuest.previous));
  gGuest.previous = nullptr;
  return true;
}

LRESULT CALLBACK GuestProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (gGuest.running) ++gGuest.messages;
  WNDPROC next = gGuest.previous;
  if (!gGuest.running) GuestLeaveWhenOnTop();
  return next ? CallWindowProcA(next, hwnd, message, wParam, lParam) : 0;
}

bool AbsolutePath(const std::string& p) {
  return (p.size() > 1 && p[1] == ':') || (!p.empty() && (p[0] == '\\' || p[0] == '/'));
}

std::string FolderOf(const std::string& path) {
  size_t cut = path.find_last_of("\\/");
  return cut == std::string::npos ? std::string(".") : path.substr(0, cut);
}

}  // namespace

std::string ExeFolder() {
  std::wstring path(MAX_PATH, L'\0');
  DWORD n;
  while ((n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()))) ==
         path.size())
    path.resize(path.size() * 2);
  path.resize(n);
  return FolderOf(spinox::Utf8FromWide(path));
}

TestPlayer::TestPlayer() {
  RegisterClasses();
  window_ = CreateWindowExA(0, kPlayerClass, "Spinox test player", WS_OVERLAPPEDWINDOW, 0, 0, 320,
                            90, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Proc));
  ShowWindow(window_, SW_SHOWNOACTIVATE);
}

TestPlayer::~TestPlayer() {
  Unload();
  for (HWND frame : frames) {
    if (IsWindow(frame)) DestroyWindow(frame);
  }
  DestroyWindow(window_);
}

WNDPROC TestPlayer::ownProcedure() const {
  return Proc;
}

HWND TestPlayer::Embedded(size_t n) const {
  return n < frames.size() ? GetWindow(frames[n], GW_CHILD) : nullptr;
}

namespace {

std::string Utf8Of(const wchar_t* p, size_t n) {
  return spinox::Utf8FromWide(p, n);
}

// ANSI text as UTF-8, as the player reads it.
std::string Utf8FromAnsi(const std::string& ansi) {
  int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], n);
  return Utf8Of(wide.data(), wide.size());
}

std::string AnsiFromWide(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string ansi(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &ansi[0], n, nullptr,
                        nullptr);
  return ansi;
}

bool ReadWhole(const std::string& path, std::string* bytes) {
  FILE* f = _wfopen(spinox::WideFromUtf8(path).c_str(), L"rb");
  if (!f) return false;
  char buffer[4096];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, f)) > 0;) bytes->append(buffer, n);
  fclose(f);
  return true;
}

bool EndsWithM3u8(const std::string& path) {
  return path.size() >= 5 && _stricmp(path.c_str() + path.size() - 5, ".m3u8") == 0;
}

}  // namespace

bool TestPlayer::LoadM3u(const std::string& path) {
  std::string bytes;
  if (!ReadWhole(path, &bytes)) return false;
  bool utf8 = EndsWithM3u8(path);
  if (utf8 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
  std::istringstream in(bytes);
  std::string line;
  int length = kUnknownLength;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("#EXTINF:", 0) == 0) {
      length = std::atoi(line.c_str() + 8);
      continue;
    }
    if (line.empty() || line[0] == '#') continue;
    if (!utf8) line = Utf8FromAnsi(line);
    std::string file = AbsolutePath(line) ? line : FolderOf(path) + "\\" + line;
    playlist.push_back(Entry{file, length});
    length = kUnknownLength;
  }
  return true;
}

bool TestPlayer::Load(const std::string& dllPath) {
  module_ = LoadLibraryW(spinox::WideFromUtf8(dllPath).c_str());
  if (!module_) return false;
  using Export = PluginRecord* (*)();
  auto get = reinterpret_cast<Export>(
      reinterpret_cast<void*>(GetProcAddress(module_, "winampGetGeneralPurposePlugin")));
  plugin_ = get ? get() : nullptr;
  if (!plugin_) return false;
  plugin_->hwndParent = window_;
  plugin_->hDllInstance = module_;
  return true;
}

int TestPlayer::Init() {
  int result = plugin_->init();
  initialized_ = true;
  return result;
}

void TestPlayer::Quit() {
  if (!initialized_) return;
  plugin_->quit();
  initialized_ = false;
}

void TestPlayer::Unload() {
  Quit();
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  plugin_ = nullptr;
}

void TestPlayer::LoadGuest() {
  gGuest.running = true;
  gGuest.messages = 0;
  if (gGuest.previous && gGuest.window == window_) return;  // still in the chain
  gGuest.window = window_;
  gGuest.previous = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GuestProc)));
}

void TestPlayer::QuitGuest() {
  gGuest.running = false;
  GuestLeaveWhenOnTop();
}

int TestPlayer::guestMessages() const {
  return gGuest.messages;
}

bool TestPlayer::guestInChain() const {
  return gGuest.previous != nullptr && gGuest.window == window_;
}

void TestPlayer::StopRealTimer() {
  KillTimer(window_, kPluginTimer);
}

void TestPlayer::Tick(int n) {
  for (int i = 0; i < n; ++i) {
    SendMessageA(window_, WM_TIMER, kPluginTimer, 0);
    Advance();
  }
}

void TestPlayer::Pump(int ms) {
  DWORD end = GetTickCount() + static_cast<DWORD>(ms);
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (ms > 0) Sleep(10);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

// One second of playing: at the end of an entry the next one starts; after the last, stop.
void TestPlayer::Advance() {
  if (state != 1 || playlist.empty()) return;
  ++elapsed;
  int length = playlist[position].length;
  if (length == kUnknownLength || elapsed < length) return;
  elapsed = 0;
  if (position + 1 < static_cast<int>(playlist.size()))
    ++position;
  else
    state = 0;
}

HBITMAP TestPlayer::MakeSkinBitmap() {
  if (skinRow.empty()) return nullptr;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(skinRow.size());
  info.bmiHeader.biHeight = -4;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;
  auto* pixels = static_cast<DWORD*>(bits);
  for (size_t x = 0; x < skinRow.size(); ++x) {
    COLORREF c = skinRow[x];  // red low: a DIB pixel has blue low
    DWORD bgr = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    for (int y = 0; y < 4; ++y) pixels[y * skinRow.size() + x] = bgr;
  }
  return bitmap;
}

HWND TestPlayer::MakeFrame(EmbedWindowState* state) {
  if (framesRefused || !state) return nullptr;
  RECT r = state->r;
  HWND frame = CreateWindowExA(WS_EX_TOOLWINDOW, kFrameClass, "",
                               WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN, r.left,
                               r.top, r.right - r.left, r.bottom - r.top, window_, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
  SetWindowLongPtrA(frame, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  state->me = frame;
  frames.push_back(frame);
  frameStates.push_back(state);
  return frame;
}

LRESULT TestPlayer::Query(WPARAM argument, LPARAM query) {
  int count = static_cast<int>(playlist.size());
  switch (query) {
    case kQueryClearPlaylist:
      playlist.clear(), position = 0, elapsed = 0;
      return 0;
    case kQueryPlayState:
      return state;
    case kQueryTrackLength:
      return position < count ? playlist[position].length : -1;
    case kQueryPlaylistLength:
      return count;
    case kQueryPlaylistPosition:
      return position;
    case kQueryPlaylistFile: {
      if (argument >= static_cast<WPARAM>(count)) return 0;
      ansiName_ = AnsiFromWide(spinox::WideFromUtf8(playlist[argument].file));
      return reinterpret_cast<LRESULT>(ansiName_.c_str());
    }
    case kQueryPlaylistFileWide: {
      if (older || argument >= static_cast<WPARAM>(count)) return 0;
      wideName_ = spinox::WideFromUtf8(playlist[argument].file);
      return reinterpret_cast<LRESULT>(wideName_.c_str());
    }
    case kQuerySkinBitmap:
      ++skinQueries;
      return reinterpret_cast<LRESULT>(MakeSkinBitmap());
    case kQueryEmbedFrame:
      return reinterpret_cast<LRESULT>(MakeFrame(reinterpret_cast<EmbedWindowState*>(argument)));
  }
  return 0;
}

LRESULT TestPlayer::Answer(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kPlayerMessage) return Query(wParam, lParam);
  if (message == WM_COPYDATA) {
    auto* data = reinterpret_cast<COPYDATASTRUCT*>(lParam);
    if (!data->lpData) return FALSE;
    std::string path;
    if (data->dwData == kCopyDataLoadPlaylistWide && !older) {
      auto* wide = static_cast<const wchar_t*>(data->lpData);
      path = Utf8Of(wide, wcsnlen(wide, data->cbData / sizeof(wchar_t)));
      loads.push_back("1100 " + path);
    } else if (data->dwData == kCopyDataLoadPlaylist) {
      auto* ansi = static_cast<const char*>(data->lpData);
      path = Utf8FromAnsi(std::string(ansi, strnlen(ansi, data->cbData)));
      loads.push_back("100 " + path);
    } else {
      return FALSE;
    }
    return LoadM3u(path);
  }
  if (message == WM_CLOSE) {
    closeRequested = true;
    return 0;
  }
  if (message == WM_COMMAND && wParam == kCommandPlay) {
    state = 1, elapsed = 0;
    return 0;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

LRESULT CALLBACK TestPlayer::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TestPlayer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  return self->Answer(message, wParam, lParam);
}

}  // namespace spinox::e2e
