// The hit list windows driven as a user drives them: plays recorded at chosen times, the options
// panel's controls set and clicked with the messages a click sends, and the list view read back
// with its own messages. Message boxes, the save dialog and the enabling of windows are watched
// through the plug-in's imports.
#pragma once
#include <windows.h>
// System headers below need windows.h first.
#include <commctrl.h>
#include <commdlg.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/text.h"
#include "db/database.h"
#include "db/records.h"
#include "resources/resource.h"
#include "tests/e2e/fixture_win.h"
#include "tests/e2e/iat_hook_win.h"

namespace spinox::e2e {

constexpr int32_t kHour = 3600;
constexpr int32_t kDay = 86400;
constexpr int32_t kWeek = 7 * kDay;

struct Track {
  const char* file;
  const char* title;
  const char* artist;
  const char* album;
};

using Cells = std::vector<std::string>;

// Three tracks of two artists the tests record plays of, tagged in lower case (names are
// stored as the tags give them).
inline const Track kA = {"a.mp3", "alpha", "band one", "first"};
inline const Track kB = {"b.mp3", "beta", "band one", "first"};
inline const Track kC = {"c.mp3", "gamma", "band two", "second"};

struct MessageBoxCall {
  std::string text;
  std::string caption;
  UINT type;
  bool panelEnabled;  // the options panel could be used while the box was up
};

// Answers of the watched imports.
inline std::vector<MessageBoxCall> gBoxes;
inline int gBoxAnswer = IDNO;
inline HWND gPanel = nullptr;
inline std::vector<OPENFILENAMEA> gSaveDialogs;
inline std::string gSaveAnswer;  // empty: the user cancels
inline HWND gWatchedWindow = nullptr;
inline int gDisabled = 0;  // times gWatchedWindow was disabled

inline int WINAPI AnswerMessageBox(HWND, LPCSTR text, LPCSTR caption, UINT type) {
  gBoxes.push_back(MessageBoxCall{text ? text : "", caption ? caption : "", type,
                                  gPanel && IsWindowEnabled(gPanel)});
  return gBoxAnswer;
}

inline BOOL WINAPI AnswerSaveDialog(LPOPENFILENAMEA ofn) {
  gSaveDialogs.push_back(*ofn);
  if (gSaveAnswer.empty()) return FALSE;
  CopyText(ofn->lpstrFile, ofn->nMaxFile, gSaveAnswer.c_str());
  return TRUE;
}

inline HWND gWatchedProgress = nullptr;
inline std::vector<int> gShown;  // ShowWindow commands given to gWatchedProgress

inline BOOL WINAPI WatchShowWindow(HWND window, int command) {
  if (window == gWatchedProgress) gShown.push_back(command);
  return ShowWindow(window, command);
}

inline BOOL WINAPI WatchEnableWindow(HWND window, BOOL enable) {
  if (window == gWatchedWindow && !enable) ++gDisabled;
  return EnableWindow(window, enable);
}

class HitlistTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    gBoxes.clear();
    gBoxAnswer = IDNO;
    gSaveDialogs.clear();
    gSaveAnswer.clear();
    gWatchedWindow = nullptr;
    gDisabled = 0;
    gWatchedProgress = nullptr;
    gShown.clear();
    now = ClockNow();
  }

  // Starts the plug-in with its message boxes and save dialog answered here.
  void Start(const SettingsRecord& rec = DefaultSettings()) {
    WriteSettings(rec);
    StartPlugin();
    HMODULE dll = player->module();
    HookImport(dll, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(AnswerMessageBox));
    HookImport(dll, "comdlg32.dll", "GetSaveFileNameA", reinterpret_cast<void*>(AnswerSaveDialog));
    HookImport(dll, "user32.dll", "EnableWindow", reinterpret_cast<void*>(WatchEnableWindow));
    HookImport(dll, "user32.dll", "ShowWindow", reinterpret_cast<void*>(WatchShowWindow));
    gWatchedWindow = Hit();
    gPanel = Tool();
    Command(ID_HITLIST);  // both windows on show, as the tray icon's click shows them
  }

  HWND Tool() const { return player->Embedded(0); }
  HWND Hit() const { return player->Embedded(1); }

  // One play of a track at time `at` (plays must be recorded in time order).
  void Record(const Track& t, int32_t at) {
    std::string path = MakeTrack(t.file, t.title, t.artist, t.album);
    SetDataDir(PluginsFolder());
    SetClockOverride(at);
    SongInfo info = {};
    SetField(info.title, t.title);
    SetField(info.artist, t.artist);
    SetField(info.album, t.album);
    SetField(info.file, path);
    FillSongInfo(&info);
    spinox::Hit(&info);
    ClearClockOverride();
  }

  // ---- the options panel, as clicks change it ----
  void Choose(int id, int index) {
    SendDlgItemMessageA(Tool(), id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(Tool(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(Tool(), id)));
  }
  void Click(HWND dlg, int id) {
    SendMessageA(GetDlgItem(dlg, id), BM_CLICK, 0, 0);
    player->Pump();
  }
  void SetCheck(int id, bool on) {
    if (Checked(id) != on) Click(Tool(), id);
  }
  bool Checked(int id) { return SendDlgItemMessageA(Tool(), id, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool Enabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; }
  void SetTop(int n) { SetDlgItemTextA(Tool(), IDC_SHOWTOP, std::to_string(n).c_str()); }
  // Type, period and length, then "Refresh Hitlist".
  void Refresh(int type, int period, int top = 100) {
    Choose(IDC_TYPE, type);
    Choose(IDC_PERIOD, period);
    SetTop(top);
    Click(Tool(), IDC_REFRESH);
  }
  std::vector<std::string> ComboEntries(HWND dlg, int id) {
    std::vector<std::string> out;
    int n = static_cast<int>(SendDlgItemMessageA(dlg, id, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[200] = {};
      SendDlgItemMessageA(dlg, id, CB_GETLBTEXT, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(text));
      out.push_back(text);
    }
    return out;
  }
  std::string ComboText(HWND dlg, int id) {
    int i = static_cast<int>(SendDlgItemMessageA(dlg, id, CB_GETCURSEL, 0, 0));
    if (i < 0) return "(none)";
    char text[200] = {};
    SendDlgItemMessageA(dlg, id, CB_GETLBTEXT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(text));
    return text;
  }

  // ---- the hit list window, read back ----
  std::string Title() {
    char text[300] = {};
    GetDlgItemTextA(Hit(), IDC_TITLE, text, sizeof text);
    return text;
  }
  int Rows() {
    return static_cast<int>(SendDlgItemMessageA(Hit(), IDC_LIST, LVM_GETITEMCOUNT, 0, 0));
  }
  std::string Cell(int row, int column) {
    char text[300] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendDlgItemMessageA(Hit(), IDC_LIST, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item));
    return text;
  }
  // One column of every row.
  std::vector<std::string> ColumnCells(int column) {
    std::vector<std::string> out;
    for (int r = 0; r < Rows(); ++r) out.push_back(Cell(r, column));
    return out;
  }
  HWND Header() {
    return reinterpret_cast<HWND>(SendDlgItemMessageA(Hit(), IDC_LIST, LVM_GETHEADER, 0, 0));
  }
  std::vector<std::string> Headings() {
    std::vector<std::string> out;
    int n = static_cast<int>(SendMessageA(Header(), HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      char text[100] = {};
      LVCOLUMNA col = {};
      col.mask = LVCF_TEXT;
      col.pszText = text;
      col.cchTextMax = sizeof text;
      SendDlgItemMessageA(Hit(), IDC_LIST, LVM_GETCOLUMNA, static_cast<WPARAM>(i),
                          reinterpret_cast<LPARAM>(&col));
      out.push_back(text);
    }
    return out;
  }
  std::vector<int> Widths() {
    std::vector<int> out;
    int n = static_cast<int>(SendMessageA(Header(), HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i)
      out.push_back(static_cast<int>(
          SendDlgItemMessageA(Hit(), IDC_LIST, LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(i), 0)));
    return out;
  }
  // Gives a row the keyboard focus, as a click on it does.
  void FocusRow(int row) {
    LVITEMA item = {};
    item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
    item.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendDlgItemMessageA(Hit(), IDC_LIST, LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                        reinterpret_cast<LPARAM>(&item));
  }
  // A notification of the list view to its window, as the list view sends it.
  LRESULT Notify(UINT code) {
    NMITEMACTIVATE nm = {};
    nm.hdr.hwndFrom = GetDlgItem(Hit(), IDC_LIST);
    nm.hdr.idFrom = IDC_LIST;
    nm.hdr.code = code;
    nm.iItem = -1;
    LRESULT r = SendMessageA(Hit(), WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&nm));
    player->Pump();
    return r;
  }
  void ListCommand(WPARAM command) {
    SendMessageA(Hit(), WM_COMMAND, command, 0);
    player->Pump();
  }
  void Scroll(int code, int position = 0) {
    SendMessageA(Hit(), WM_HSCROLL, MAKEWPARAM(code, position),
                 reinterpret_cast<LPARAM>(GetDlgItem(Hit(), IDC_PERIODSCROLL)));
  }
  int ScrollPos() {
    return static_cast<int>(SendDlgItemMessageA(Hit(), IDC_PERIODSCROLL, SBM_GETPOS, 0, 0));
  }

  int32_t now = 0;
};

// The first n cells of column `column` are `expected`, in order.
#define EXPECT_COLUMN(column, ...) \
  EXPECT_EQ(ColumnCells(column), (std::vector<std::string>{__VA_ARGS__}))

}  // namespace spinox::e2e
