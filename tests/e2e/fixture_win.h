// The end-to-end fixture: a fresh data folder, the test player with the plug-in
// DLL loaded into it, the plug-in's calls to the system (tray, menus, message
// boxes, file and colour dialogs, the shell) watched and answered through its
// imports, and the windows driven with the messages a user's clicks and keys
// send. Settings go in and come out as the settings file.
#pragma once
#include <windows.h>
// System headers below need windows.h first.
#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/e2e/test_player_win.h"

namespace spinox::e2e {

constexpr int32_t kHour = 3600;
constexpr int32_t kDay = 86400;
constexpr int32_t kWeek = 7 * kDay;
constexpr int kSettingsBytes = 3766;

using Cells = std::vector<std::string>;

// Where the player's skin bitmap holds dialog colour i: (48 + 2 i, 0).
constexpr int SkinX(int colour) {
  return 48 + 2 * colour;
}

struct TrayCall {
  DWORD action;
  UINT id, flags, message;
  HICON icon;
  std::string tip;
};

struct MenuItem {
  UINT id;
  std::string text;
  bool operator==(const MenuItem& o) const { return id == o.id && text == o.text; }
};

struct BoxCall {
  std::string text, caption;
  UINT type;
  bool panelEnabled;  // the options panel could be used while the box was up
};

// An open or save dialog as the plug-in asked for it.
struct FileDialogCall {
  std::string title, filter, folder;  // filter: the pairs joined by '|'
  DWORD flags;
  HWND owner;
};

// What the plug-in did through its imports since the test began, and how the
// user answers.
struct Watched {
  std::vector<TrayCall> tray;
  std::vector<std::vector<MenuItem>> menus;  // each dismissed at once
  std::vector<std::string> shellOpened;
  std::vector<BoxCall> boxes;
  int boxAnswer = IDNO;
  std::vector<FileDialogCall> saves, opens;
  std::string saveAnswer, openAnswer;  // empty: the user cancels
  std::vector<COLORREF> colorStarts;
  bool colorChosen = true;
  COLORREF colorAnswer = 0;
  HWND hitWindow = nullptr, toolWindow = nullptr;
  int recomputed = 0;  // times the hit list window was disabled for a recomputation
  // A folder the probe finds unwritable (as a protected install is for a user).
  std::string unwritableFolder;
};
extern Watched gWatched;

// A settings file's bytes; the fields are reached by the names of the file's
// layout
// ("_txt_y", "top_bold", "hitlist_window"...). A new one holds the defaults.
struct SettingsFile {
  SettingsFile();
  static SettingsFile Read(const std::string& path);
  int32_t Int(const char* name) const;
  std::string Text(const char* name) const;
  RECT Rect(const char* name) const;
  // Any field as text: a text field as it is, a colour as 0x00bbggrr, a number
  // in decimal.
  std::string Value(const char* name) const;
  SettingsFile& Set(const char* name, int32_t value);
  SettingsFile& Set(const char* name, const std::string& text);
  SettingsFile& Set(const char* name, const RECT& r);
  std::vector<unsigned char> bytes;
};

struct Track {
  const char* file;
  const char* title;
  const char* artist;
  const char* album;
};

// Tracks tagged in lower case (names are stored as the tags give them). A and B
// share the artist and the album; C and D share the artist, not the album.
inline const Track kA = {"a.mp3", "alpha", "band one", "first"};
inline const Track kB = {"b.mp3", "beta", "band one", "first"};
inline const Track kC = {"c.mp3", "gamma", "band two", "second"};
inline const Track kD = {"d.mp3", "delta", "band two", "third"};

// ---- controls, as the keyboard and the mouse change them ----
// Texts are read with the wide calls and given as UTF-8.
std::string TextOf(HWND dlg, int id);
std::string WindowText(HWND window);
Cells Entries(HWND dlg, int id);
// Replaces an edit field's text key by key, the focus in it; "" empties it.
void Type(HWND dlg, int id, const std::string& text);
void FocusOn(HWND dlg, int id);
void Press(HWND dlg, int id);
bool IsChecked(HWND dlg, int id);
bool IsOn(HWND dlg, int id);
int Selected(HWND dlg, int id);
// The background colour a dialog sets for a control when asked (CLR_INVALID: no
// brush).
COLORREF PaintedColor(HWND dlg, int id, UINT message = WM_CTLCOLORSTATIC);

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override { player.reset(); }

  // Loads the DLL and starts it with its imports watched; the real timer is
  // stopped unless asked to keep it.
  void StartPlugin(bool keepRealTimer = false);
  void WriteSettings(const SettingsFile& settings);
  // Writes `settings`, starts the plug-in and shows both windows as the tray
  // icon's click does.
  void Start(SettingsFile settings = SettingsFile());
  // Quits and starts a new player on the files the last session left.
  void Restart();

  std::string PluginsFolder() const { return folder_ + "\\plugins"; }
  std::string UserFolder() const { return folder_ + "\\appdata"; }
  std::string TestsFolder() const { return folder_; }
  std::string MusicFile(const std::string& name) const { return folder_ + "\\music\\" + name; }
  std::string DataFile(const std::string& name) const { return PluginsFolder() + "\\" + name; }
  SettingsFile Saved() const { return SettingsFile::Read(DataFile("gen_spinox.dat")); }

  // A music file with an ID3v1 tag (none when title is null).
  std::string MakeTrack(const std::string& name, const char* title, const char* artist,
                        const char* album);
  std::string MakeTrack(const Track& t) { return MakeTrack(t.file, t.title, t.artist, t.album); }
  // One play of a track at time `at`, written to the record files (in time
  // order).
  void Record(const Track& t, int32_t at);

  const TrayCall& LastTray() const { return gWatched.tray.back(); }
  HICON Icon(int resource) const { return LoadIconA(player->module(), MAKEINTRESOURCEA(resource)); }
  std::vector<MenuItem> TrayMenu();
  void Command(WPARAM c) { SendMessageA(player->window(), WM_COMMAND, c, 0), player->Pump(); }

  HWND Tool() const { return player->Embedded(0); }
  HWND Hit() const { return player->Embedded(1); }
  static HWND Html() { return FindWindowA(nullptr, "Generate HTML"); }
  static HWND SettingsDialog() { return FindWindowA(nullptr, "Spinox Settings"); }

  // ---- the options panel ----
  void Choose(HWND dlg, int id,
              int index);  // a click on a drop-down list's entry
  void Click(HWND dlg, int id) { SendDlgItemMessageA(dlg, id, BM_CLICK, 0, 0), player->Pump(); }
  void SetCheck(int id, bool on);
  // Type, period and length, then "Refresh Hitlist".
  void Refresh(int type, int period, int top = 100);

  // ---- the hit list window ----
  std::string Title() const { return TextOf(Hit(), IDC_TITLE); }
  int Rows() const {
    return static_cast<int>(SendDlgItemMessageA(Hit(), IDC_LIST, LVM_GETITEMCOUNT, 0, 0));
  }
  std::string Cell(int row, int column) const;
  // The list on show as text: a row's cells joined by '|', one line per row; or
  // the cells of one column joined by '|' (sorted: in alphabetical order, for
  // rows of equal rank).
  std::string List(int column = -1, bool sorted = false) const;
  Cells Headings() const;
  void FocusRow(int row);  // as a click on it does
  void Notify(UINT code);  // a list view notification (NM_RCLICK, NM_DBLCLK)
  void ListCommand(WPARAM c) { SendMessageA(Hit(), WM_COMMAND, c, 0), player->Pump(); }

  // config() as the tray menu runs it, `steps` run one by one inside the modal
  // dialog.
  void WithSettings(std::vector<std::function<void()>> steps);

  std::unique_ptr<TestPlayer> player;
  // The DLL StartPlugin loads. A copy under another name is another module.
  std::string dllName = "gen_spinox.dll";
  int32_t now = 0;

 private:
  std::string folder_;
};

std::string Join(const Cells& cells);
// The bytes of a music file with an ID3v1 tag (none when title is null).
std::string TrackBytes(const char* title, const char* artist, const char* album);

// Runs `blocking` (which opens a modal dialog) while `steps` run from inside
// its loop; a settings dialog left open after them is cancelled.
void WhileModal(std::vector<std::function<void()>> steps, const std::function<void()>& blocking);
// Runs `action` after `ms` milliseconds from inside whatever message loop runs
// then.
void Later(int ms, void (*action)());

// The on-screen display (the topmost owned dialog) and a copy of its region
// (null: none).
HWND DisplayWindow();
HRGN RegionOf(HWND window);

int64_t SizeOf(const std::string& path);
bool IsFolder(const std::string& path);
void RemoveTree(const std::string& path);
// The file system by wide names: paths are UTF-8 in any script.
bool MakeFolder(const std::string& path);
bool CopyOneFile(const std::string& from, const std::string& to);
// How many files match a pattern such as "C:\\data\\Spinox-*.bak"; the first one's name.
int CountMatching(const std::string& pattern, std::string* first = nullptr);
// The 8.3 form of an existing path (itself when the system gives none).
std::string ShortPath(const std::string& path);
// How a reader of the system's ANSI code page names an existing file: by its path when the
// code page holds it, else by its short form (UTF-8); and that name in the code page, as an
// .m3u holds it.
std::string AnsiNamed(const std::string& path);
std::string M3uName(const std::string& path);
std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);
RECT WindowRectOf(HWND window);

}  // namespace spinox::e2e
