#include "tests/e2e/fixture_win.h"

#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "base/codepage.h"
#include "base/file.h"
#include "base/text.h"
#include "db/records.h"
#include "settings/settings.h"
#include "tests/e2e/iat_hook_win.h"

namespace spinox::e2e {

Watched gWatched;

namespace {

// The plug-in speaks to the system in UTF-16; what it said is kept as UTF-8.
std::string Utf8(const wchar_t* text) {
  return text ? Utf8FromWide(text, wcslen(text)) : std::string();
}

using NotifyFn = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
NotifyFn gRealNotify = nullptr;

BOOL WINAPI WatchNotify(DWORD action, PNOTIFYICONDATAW data) {
  gWatched.tray.push_back(TrayCall{action, data->uID, data->uFlags, data->uCallbackMessage,
                                   data->hIcon, Utf8(data->szTip)});
  return gRealNotify ? gRealNotify(action, data) : TRUE;
}

BOOL WINAPI WatchTrackPopupMenu(HMENU menu, UINT, int, int, int, HWND, const RECT*) {
  std::vector<MenuItem> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    wchar_t text[100] = {};
    GetMenuStringW(menu, i, text, 100, MF_BYPOSITION);
    items.push_back(MenuItem{GetMenuItemID(menu, i), Utf8(text)});
  }
  gWatched.menus.push_back(items);
  return FALSE;
}

HINSTANCE WINAPI WatchShellExecute(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
  gWatched.shellOpened.push_back(Utf8(file));
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

int WINAPI AnswerMessageBox(HWND, LPCWSTR text, LPCWSTR caption, UINT type) {
  HWND panel = gWatched.toolWindow;
  gWatched.boxes.push_back(
      BoxCall{Utf8(text), Utf8(caption), type, panel && IsWindowEnabled(panel)});
  return gWatched.boxAnswer;
}

std::string JoinFilter(const wchar_t* filter) {
  std::string out;
  for (const wchar_t* p = filter; p && *p; p += wcslen(p) + 1) out += Utf8(p) + "|";
  return out;
}

FileDialogCall CallOf(const OPENFILENAMEW* ofn) {
  return FileDialogCall{Utf8(ofn->lpstrTitle), JoinFilter(ofn->lpstrFilter),
                        Utf8(ofn->lpstrInitialDir), ofn->Flags, ofn->hwndOwner};
}

// Copies a UTF-8 answer into a dialog's wide buffer of `size` units; false when it does not fit.
bool CopyWide(wchar_t* buffer, DWORD size, const std::string& text) {
  std::wstring wide = WideFromUtf8(text);
  if (!buffer || wide.size() >= size) return false;
  wide.copy(buffer, wide.size());
  buffer[wide.size()] = 0;
  return true;
}

BOOL Answer(LPOPENFILENAMEW ofn, const std::string& answer) {
  if (answer.empty()) return FALSE;
  if (!CopyWide(ofn->lpstrFile, ofn->nMaxFile, answer)) return FALSE;
  if (ofn->lpstrFileTitle)
    CopyWide(ofn->lpstrFileTitle, ofn->nMaxFileTitle, answer.substr(answer.find_last_of('\\') + 1));
  return TRUE;
}

BOOL WINAPI AnswerSaveDialog(LPOPENFILENAMEW ofn) {
  gWatched.saves.push_back(CallOf(ofn));
  return Answer(ofn, gWatched.saveAnswer);
}

BOOL WINAPI AnswerOpenDialog(LPOPENFILENAMEW ofn) {
  gWatched.opens.push_back(CallOf(ofn));
  return Answer(ofn, gWatched.openAnswer);
}

BOOL WINAPI AnswerColorChooser(LPCHOOSECOLORW choice) {
  gWatched.colorStarts.push_back(choice->rgbResult);
  if (!gWatched.colorChosen) return FALSE;
  choice->rgbResult = gWatched.colorAnswer;
  return TRUE;
}

BOOL WINAPI WatchEnableWindow(HWND window, BOOL enable) {
  if (window == gWatched.hitWindow && window && !enable) ++gWatched.recomputed;
  return EnableWindow(window, enable);
}

UINT WINAPI WatchTempFileName(LPCWSTR folder, LPCWSTR prefix, UINT unique, LPWSTR out) {
  if (folder && lstrcmpiW(folder, WideFromUtf8(gWatched.unwritableFolder).c_str()) == 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
  }
  return GetTempFileNameW(folder, prefix, unique, out);
}

void WatchPlugin(HMODULE module) {
  struct Hook {
    const char* dll;
    const char* function;
    void* replacement;
  };
  const Hook hooks[] = {
      {"user32.dll", "TrackPopupMenu", reinterpret_cast<void*>(WatchTrackPopupMenu)},
      {"shell32.dll", "ShellExecuteW", reinterpret_cast<void*>(WatchShellExecute)},
      {"user32.dll", "MessageBoxW", reinterpret_cast<void*>(AnswerMessageBox)},
      {"comdlg32.dll", "GetSaveFileNameW", reinterpret_cast<void*>(AnswerSaveDialog)},
      {"comdlg32.dll", "GetOpenFileNameW", reinterpret_cast<void*>(AnswerOpenDialog)},
      {"comdlg32.dll", "ChooseColorW", reinterpret_cast<void*>(AnswerColorChooser)},
      {"user32.dll", "EnableWindow", reinterpret_cast<void*>(WatchEnableWindow)},
      {"kernel32.dll", "GetTempFileNameW", reinterpret_cast<void*>(WatchTempFileName)},
  };
  for (const Hook& h : hooks) HookImport(module, h.dll, h.function, h.replacement);
  void* real =
      HookImport(module, "shell32.dll", "Shell_NotifyIconW", reinterpret_cast<void*>(WatchNotify));
  // A module that stayed loaded from an earlier test is watched already.
  if (real != reinterpret_cast<void*>(WatchNotify)) gRealNotify = reinterpret_cast<NotifyFn>(real);
}

void (*gLaterAction)() = nullptr;

void CALLBACK LaterProc(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (gLaterAction) gLaterAction();
}

// A crash ends the run at once with where it happened, instead of waiting for a
// debugger.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  void* at = info->ExceptionRecord->ExceptionAddress;
  HMODULE module = nullptr;
  wchar_t name[MAX_PATH] = L"?";
  GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      static_cast<const wchar_t*>(at), &module);
  if (module) GetModuleFileNameW(module, name, MAX_PATH);
  std::fprintf(stderr, "crash: exception 0x%lx at %s+0x%llx\n",
               info->ExceptionRecord->ExceptionCode, Utf8(name).c_str(),
               static_cast<unsigned long long>(static_cast<const char*>(at) -
                                               reinterpret_cast<const char*>(module)));
  std::fflush(stderr);
  ExitProcess(3);
}

const bool kCrashReporter = (SetUnhandledExceptionFilter(ReportCrash), true);

// As on Windows, where TZ is not set, the C run-time (one msvcrt.dll for the
// tests and the plug-in) follows the system's time zone, which Wine takes from
// the Unix TZ (scripts/wine_tests.sh runs the suite in Europe/Berlin). Wine
// also copies the Unix TZ into the Windows environment, where the run-time
// would misread "Europe/Berlin" as a zone written in its own format.
const bool kSystemTimeZone = (_putenv("TZ="), _tzset(), true);

const SettingsField& FieldNamed(const char* name) {
  for (const SettingsField& f : SettingsFields())
    if (std::strcmp(f.name, name) == 0) return f;
  ADD_FAILURE() << "no settings field " << name;
  return SettingsFields().front();
}

// The steps run inside a modal dialog.
std::vector<std::function<void()>> gSteps;
size_t gStep = 0;
bool gInStep = false;

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
  if (gInStep) return;
  if (gStep >= gSteps.size()) {
    HWND open = FindWindowW(nullptr, L"Spinox Settings");
    if (open) PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  gInStep = true;
  std::function<void()> step = gSteps[gStep++];
  step();
  gInStep = false;
}

BOOL CALLBACK MatchDisplay(HWND window, LPARAM found) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  bool topmost = (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (std::strcmp(name, "#32770") != 0 || !topmost || !GetWindow(window, GW_OWNER)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

// ---- the settings file ----

SettingsFile::SettingsFile() {
  const auto rec = DefaultSettings();  // laid out as the file
  const auto* p = reinterpret_cast<const unsigned char*>(&rec);
  bytes.assign(p, p + sizeof rec);
}

SettingsFile SettingsFile::Read(const std::string& path) {
  SettingsFile file;
  std::string text = ReadText(path);
  file.bytes.assign(text.begin(), text.end());
  EXPECT_EQ(file.bytes.size(), static_cast<size_t>(kSettingsBytes)) << path;
  file.bytes.resize(kSettingsBytes);
  return file;
}

int32_t SettingsFile::Int(const char* name) const {
  int32_t v = 0;
  std::memcpy(&v, bytes.data() + FieldNamed(name).offset, sizeof v);
  return v;
}

std::string SettingsFile::Text(const char* name) const {
  const SettingsField& f = FieldNamed(name);
  const char* p = reinterpret_cast<const char*>(bytes.data() + f.offset);
  return std::string(p, strnlen(p, static_cast<size_t>(f.width)));
}

RECT SettingsFile::Rect(const char* name) const {
  int32_t v[4] = {};
  std::memcpy(v, bytes.data() + FieldNamed(name).offset, sizeof v);
  return RECT{v[0], v[1], v[2], v[3]};
}

std::string SettingsFile::Value(const char* name) const {
  const SettingsField& f = FieldNamed(name);
  if (f.kind == SettingsFieldKind::kText) return Text(name);
  char text[20];
  if (f.kind == SettingsFieldKind::kColor)
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(Int(name)));
  else
    std::snprintf(text, sizeof text, "%d", static_cast<int>(Int(name)));
  return text;
}

SettingsFile& SettingsFile::Set(const char* name, int32_t value) {
  std::memcpy(bytes.data() + FieldNamed(name).offset, &value, sizeof value);
  return *this;
}

SettingsFile& SettingsFile::Set(const char* name, const std::string& text) {
  const SettingsField& f = FieldNamed(name);
  CopyText(reinterpret_cast<char*>(bytes.data() + f.offset), static_cast<size_t>(f.width),
           text.c_str());
  return *this;
}

SettingsFile& SettingsFile::Set(const char* name, const RECT& r) {
  int32_t v[4] = {r.left, r.top, r.right, r.bottom};
  std::memcpy(bytes.data() + FieldNamed(name).offset, v, sizeof v);
  return *this;
}

// ---- the fixture ----

void PluginTest::SetUp() {
  folder_ = ExeFolder();
  for (const std::string& f : {PluginsFolder(), UserFolder(), folder_ + "\\music"}) {
    RemoveTree(f);
    CreateDirectoryW(WideFromUtf8(f).c_str(), nullptr);
  }
  SetEnvironmentVariableW(L"APPDATA", WideFromUtf8(UserFolder()).c_str());
  gWatched = Watched();
  player = std::make_unique<TestPlayer>();
  now = static_cast<int32_t>(std::time(nullptr));
}

void PluginTest::StartPlugin(bool keepRealTimer) {
  ASSERT_TRUE(player->Load(folder_ + "\\" + dllName));
  ASSERT_NE(player->plugin(), nullptr);
  WatchPlugin(player->module());
  ASSERT_EQ(player->Init(), 0);
  gWatched.hitWindow = player->frames.size() > 1 ? Hit() : nullptr;
  gWatched.toolWindow = player->frames.empty() ? nullptr : Tool();
  if (!keepRealTimer) player->StopRealTimer();
  player->Pump();
}

// The default template is the sample the plug-in installs in its data folder.
void PluginTest::Start(SettingsFile settings) {
  if (settings.Text("template_file") == "spinoxsampletemplate.htm")
    settings.Set("template_file", DataFile("spinoxsampletemplate.htm"));
  WriteSettings(settings);
  StartPlugin();
  Command(ID_HITLIST);
}

void PluginTest::WriteSettings(const SettingsFile& settings) {
  WriteText(DataFile("gen_spinox.dat"), std::string(settings.bytes.begin(), settings.bytes.end()));
}

void PluginTest::Restart() {
  player->Unload();
  player = std::make_unique<TestPlayer>();
  StartPlugin();
  Command(ID_HITLIST);
}

std::string PluginTest::MakeTrack(const std::string& name, const char* title, const char* artist,
                                  const char* album) {
  std::string path = MusicFile(name);
  WriteText(path, TrackBytes(title, artist, album));
  return path;
}

std::string TrackBytes(const char* title, const char* artist, const char* album) {
  std::string bytes(256, '\x55');
  if (title) {
    char tag[128] = {'T', 'A', 'G'};
    std::strncpy(tag + 3, title, 30);
    std::strncpy(tag + 33, artist, 30);
    std::strncpy(tag + 63, album, 30);
    tag[127] = static_cast<char>(255);
    bytes.append(tag, sizeof tag);
  }
  return bytes;
}

// The id of the record of `path` whose bytes after the id, up to `end`, are those of `rec`
// (the names, and the ids they lead to); added at the end when there is none.
template <typename R>
uint32_t IdOf(const std::string& path, R rec, size_t end = sizeof(R)) {
  std::string bytes = ReadText(path);
  const char* key = reinterpret_cast<const char*>(&rec) + 4;
  uint32_t n = static_cast<uint32_t>(bytes.size() / sizeof(R));
  for (uint32_t i = 0; i < n; ++i)
    if (std::memcmp(bytes.data() + i * sizeof(R) + 4, key, end - 4) == 0) return i;
  rec.id = n;
  WriteText(path, bytes + std::string(reinterpret_cast<const char*>(&rec), sizeof rec));
  return n;
}

// Written as the record files document it: the artist, album and song records the play needs,
// the song's last play, and the hit.
void PluginTest::Record(const Track& t, int32_t at) {
  ArtistRecord artist = {};
  AlbumRecord album = {};
  SongRecord song = {};
  SetField(artist.name, t.artist);
  SetField(album.album, t.album);
  SetField(album.artist, t.artist);
  SetField(song.title, t.title);
  SetField(song.artist, t.artist);
  SetField(song.album, t.album);
  SetField(song.file, MakeTrack(t));
  // The names go in as UTF-8, which the marker in the data folder declares.
  WriteText(DataFile("gen_spinox.utf8"), "");
  song.artistId = IdOf(DataFile("gen_spinox.art"), artist);
  song.albumId = IdOf(DataFile("gen_spinox.alb"), album);
  uint32_t id = IdOf(DataFile("gen_spinox.sng"), song, offsetof(SongRecord, file));
  std::string songs = ReadText(DataFile("gen_spinox.sng"));
  std::memcpy(&songs[id * sizeof song + offsetof(SongRecord, lastPlayed)], &at, sizeof at);
  WriteText(DataFile("gen_spinox.sng"), songs);
  HitRecord hit = {id, song.artistId, song.albumId, at};
  WriteText(DataFile("gen_spinox.hit"), ReadText(DataFile("gen_spinox.hit")) +
                                            std::string(reinterpret_cast<char*>(&hit), sizeof hit));
}

std::vector<MenuItem> PluginTest::TrayMenu() {
  size_t before = gWatched.menus.size();
  SendMessageA(player->window(), WM_USER + 48, 13, WM_RBUTTONUP);
  player->Pump();
  return gWatched.menus.size() > before ? gWatched.menus.back() : std::vector<MenuItem>();
}

void PluginTest::Choose(HWND dlg, int id, int index) {
  SendDlgItemMessageW(dlg, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
  player->Pump();
}

void PluginTest::SetCheck(int id, bool on) {
  if (IsChecked(Tool(), id) != on) Click(Tool(), id);
}

void PluginTest::Refresh(int type, int period, int top) {
  Choose(Tool(), IDC_TYPE, type);
  Choose(Tool(), IDC_PERIOD, period);
  SetDlgItemTextA(Tool(), IDC_SHOWTOP, std::to_string(top).c_str());
  Click(Tool(), IDC_REFRESH);
}

// A text the list view copies into the item's buffer (an LVITEMW or an LVCOLUMNW), as UTF-8.
template <class Item>
std::string ListText(HWND hit, UINT message, int index, Item item) {
  wchar_t text[300] = {};
  item.pszText = text;
  item.cchTextMax = 300;
  SendDlgItemMessageW(hit, IDC_LIST, message, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&item));
  return Utf8(text);
}

std::string PluginTest::Cell(int row, int column) const {
  LVITEMW item = {};
  item.iSubItem = column;
  return ListText(Hit(), LVM_GETITEMTEXTW, row, item);
}

std::string PluginTest::List(int column, bool sorted) const {
  if (column >= 0) {
    Cells cells;
    for (int r = 0; r < Rows(); ++r) cells.push_back(Cell(r, column));
    if (sorted) std::sort(cells.begin(), cells.end());
    return Join(cells);
  }
  std::string out;
  for (int r = 0, n = static_cast<int>(Headings().size()); r < Rows(); ++r) {
    for (int c = 0; c < n; ++c) out += (c ? "|" : "") + Cell(r, c);
    out += "\n";
  }
  return out;
}

Cells PluginTest::Headings() const {
  Cells out;
  HWND header = reinterpret_cast<HWND>(SendDlgItemMessageA(Hit(), IDC_LIST, LVM_GETHEADER, 0, 0));
  int n = static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    LVCOLUMNW col = {};
    col.mask = LVCF_TEXT;
    out.push_back(ListText(Hit(), LVM_GETCOLUMNW, i, col));
  }
  return out;
}

void PluginTest::FocusRow(int row) {
  LVITEMA item = {};
  item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  item.state = LVIS_FOCUSED | LVIS_SELECTED;
  SendDlgItemMessageA(Hit(), IDC_LIST, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                      reinterpret_cast<LPARAM>(&item));
}

void PluginTest::Notify(UINT code) {
  NMITEMACTIVATE nm = {};
  nm.hdr.hwndFrom = GetDlgItem(Hit(), IDC_LIST);
  nm.hdr.idFrom = IDC_LIST;
  nm.hdr.code = code;
  nm.iItem = -1;
  SendMessageA(Hit(), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&nm));
  player->Pump();
}

void PluginTest::WithSettings(std::vector<std::function<void()>> steps) {
  WhileModal(std::move(steps), [this] { player->plugin()->config(); });
}

std::string Join(const Cells& cells) {
  std::string out;
  for (size_t i = 0; i < cells.size(); ++i) out += (i ? "|" : "") + cells[i];
  return out;
}

// ---- controls ----

std::string TextOf(HWND dlg, int id) {
  return WindowText(GetDlgItem(dlg, id));
}

std::string WindowText(HWND window) {
  wchar_t text[1000] = {};
  GetWindowTextW(window, text, 1000);
  return Utf8(text);
}

Cells Entries(HWND dlg, int id) {
  Cells out;
  int n = static_cast<int>(SendDlgItemMessageW(dlg, id, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    wchar_t text[200] = {};
    SendDlgItemMessageW(dlg, id, CB_GETLBTEXT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(text));
    out.push_back(Utf8(text));
  }
  return out;
}

// Each UTF-16 unit is one WM_CHAR, as the keyboard's input method sends them.
void Type(HWND dlg, int id, const std::string& text) {
  HWND edit = GetDlgItem(dlg, id);
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  if (text.empty()) SendMessageW(edit, WM_CHAR, VK_BACK, 0);
  for (wchar_t c : WideFromUtf8(text)) SendMessageW(edit, WM_CHAR, c, 0);
}

void FocusOn(HWND dlg, int id) {
  SetFocus(GetDlgItem(dlg, id));
}

void Press(HWND dlg, int id) {
  SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
}

bool IsChecked(HWND dlg, int id) {
  return SendDlgItemMessageA(dlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsOn(HWND dlg, int id) {
  return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE;
}

int Selected(HWND dlg, int id) {
  return static_cast<int>(SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0));
}

COLORREF PaintedColor(HWND dlg, int id, UINT message) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetBkColor(dc, RGB(1, 2, 3));
  LRESULT brush = SendMessageA(dlg, message, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
  COLORREF color = brush ? GetBkColor(dc) : CLR_INVALID;
  DeleteDC(dc);
  return color;
}

void WhileModal(std::vector<std::function<void()>> steps, const std::function<void()>& blocking) {
  gSteps = std::move(steps);
  gStep = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, RunNextStep);
  blocking();
  KillTimer(nullptr, timer);
  EXPECT_EQ(gStep, gSteps.size()) << "the dialog closed before its last step";
}

void Later(int ms, void (*action)()) {
  gLaterAction = action;
  SetTimer(nullptr, 0, static_cast<UINT>(ms), LaterProc);
}

HWND DisplayWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), MatchDisplay, reinterpret_cast<LPARAM>(&found));
  return found;
}

HRGN RegionOf(HWND window) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(window, region) != ERROR) return region;
  DeleteObject(region);
  return nullptr;
}

// ---- files ----
// Paths are UTF-8, given to the system as UTF-16 (WidePath), so folders and files may be named
// in any script.

int64_t SizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool IsFolder(const std::string& path) {
  DWORD a = GetFileAttributesW(WidePath(path).c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void RemoveTree(const std::string& path) {
  if (!IsFolder(path)) {
    DeleteFileW(WidePath(path).c_str());
    return;
  }
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(WidePath(path + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string name = Utf8FromWide(std::wstring(found.cFileName));
      if (name != "." && name != "..") RemoveTree(path + "\\" + name);
    } while (FindNextFileW(h, &found));
    FindClose(h);
  }
  RemoveDirectoryW(WidePath(path).c_str());
}

bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(WidePath(path).c_str(), nullptr) ||
         GetLastError() == ERROR_ALREADY_EXISTS;
}

bool CopyOneFile(const std::string& from, const std::string& to) {
  return CopyFileW(WidePath(from).c_str(), WidePath(to).c_str(), FALSE) != FALSE;
}

int CountMatching(const std::string& pattern, std::string* first) {
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(WidePath(pattern).c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return 0;
  if (first) *first = Utf8FromWide(std::wstring(found.cFileName));
  int n = 1;
  while (FindNextFileW(h, &found)) ++n;
  FindClose(h);
  return n;
}

std::string ShortPath(const std::string& path) {
  std::wstring wide = WidePath(path);
  DWORD n = GetShortPathNameW(wide.c_str(), nullptr, 0);
  std::wstring out(n, L'\0');
  if (n == 0 || GetShortPathNameW(wide.c_str(), &out[0], n) + 1 != n) return path;
  out.resize(n - 1);
  return Utf8FromWide(out);
}

namespace {

// The text in the ANSI code page; false when the code page cannot hold all of it.
bool InAnsi(const std::string& utf8, std::string* ansi) {
  std::wstring wide = WideFromUtf8(utf8);
  int size = static_cast<int>(wide.size());
  BOOL lossy = FALSE;
  int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0, nullptr,
                              &lossy);
  ansi->assign(n > 0 ? n : 0, '\0');
  if (n > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), size, &(*ansi)[0], n, nullptr, nullptr);
  return !lossy;
}

}  // namespace

std::string AnsiNamed(const std::string& path) {
  std::string ansi;
  return InAnsi(path, &ansi) ? path : ShortPath(path);
}

std::string M3uName(const std::string& path) {
  std::string ansi;
  InAnsi(AnsiNamed(path), &ansi);
  return ansi;
}

std::string ReadText(const std::string& path) {
  std::vector<unsigned char> bytes;
  ReadWholeFile(path, &bytes);
  return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& text) {
  File f(path, "wb");
  EXPECT_TRUE(f.Write(text.data(), text.size()) && f.Close()) << path;
}

RECT WindowRectOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}

}  // namespace spinox::e2e
