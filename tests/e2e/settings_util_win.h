// The plug-in's own dialogs driven as a user drives them: "Generate HTML", "Spinox Settings" and
// the on-screen display. The open-file dialog and the colour chooser are answered here through
// the plug-in's imports (message boxes and the save dialog by hitlist_util_win.h); a modal
// dialog is driven by steps that run one after the other from inside its own message loop.
#pragma once
#include <windows.h>
// System headers below need windows.h first.
#include <commdlg.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/hitlist_util_win.h"

namespace spinox::e2e {

struct OpenDialogCall {
  std::string title;
  std::string filter;  // the pairs joined by '|'
  std::string folder;  // where it opens
};

inline std::vector<OpenDialogCall> gOpenDialogs;
inline std::string gOpenAnswer;  // empty: the user cancels
inline std::vector<COLORREF> gColorStarts;
inline bool gColorChosen = true;  // false: the user cancels the chooser
inline COLORREF gColorAnswer = 0;

inline std::string JoinFilter(const char* filter) {
  std::string out;
  for (const char* p = filter; p && *p; p += std::strlen(p) + 1) out += std::string(p) + "|";
  return out;
}

inline BOOL WINAPI AnswerOpenDialog(LPOPENFILENAMEA ofn) {
  gOpenDialogs.push_back(OpenDialogCall{ofn->lpstrTitle ? ofn->lpstrTitle : "",
                                        JoinFilter(ofn->lpstrFilter),
                                        ofn->lpstrInitialDir ? ofn->lpstrInitialDir : ""});
  if (gOpenAnswer.empty()) return FALSE;
  CopyText(ofn->lpstrFile, ofn->nMaxFile, gOpenAnswer.c_str());
  size_t slash = gOpenAnswer.find_last_of('\\');
  if (ofn->lpstrFileTitle)
    CopyText(ofn->lpstrFileTitle, ofn->nMaxFileTitle, gOpenAnswer.substr(slash + 1).c_str());
  return TRUE;
}

inline BOOL WINAPI AnswerColorChooser(LPCHOOSECOLORA choice) {
  gColorStarts.push_back(choice->rgbResult);
  if (!gColorChosen) return FALSE;
  choice->rgbResult = gColorAnswer;
  return TRUE;
}

// ---- steps inside a modal dialog ----

inline std::vector<std::function<void()>> gSteps;
inline size_t gStep = 0;
inline bool gInStep = false;

// After the last step a dialog still open is cancelled, so that a failed step cannot hang the
// run.
inline void CALLBACK RunNextStep(HWND, UINT, UINT_PTR, DWORD) {
  if (gInStep) return;
  if (gStep >= gSteps.size()) {
    HWND open = FindWindowA(nullptr, "Spinox Settings");
    if (open) PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
    return;
  }
  gInStep = true;
  std::function<void()> step = gSteps[gStep++];
  step();
  gInStep = false;
}

// Runs `blocking` (which opens a modal dialog) while the steps run from inside its loop.
inline void WhileModal(std::vector<std::function<void()>> steps,
                       const std::function<void()>& blocking) {
  gSteps = std::move(steps);
  gStep = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 20, RunNextStep);
  blocking();
  KillTimer(nullptr, timer);
  EXPECT_EQ(gStep, gSteps.size()) << "the dialog closed before its last step";
}

// ---- controls, as the keyboard and the mouse change them ----

inline HWND Item(HWND dlg, int id) {
  return GetDlgItem(dlg, id);
}

inline std::string TextOf(HWND dlg, int id) {
  char text[1000] = {};
  GetWindowTextA(Item(dlg, id), text, sizeof text);
  return text;
}

// Replaces the text of an edit field key by key, the focus in it; "" empties it.
inline void Type(HWND dlg, int id, const std::string& text) {
  HWND edit = Item(dlg, id);
  SetFocus(edit);
  SendMessageA(edit, EM_SETSEL, 0, -1);
  if (text.empty()) SendMessageA(edit, WM_CHAR, VK_BACK, 0);
  for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}

// Moves the keyboard focus on, as leaving a field does.
inline void FocusOn(HWND dlg, int id) {
  SetFocus(Item(dlg, id));
}

inline void Press(HWND dlg, int id) {
  SendMessageA(Item(dlg, id), BM_CLICK, 0, 0);
}

inline bool IsChecked(HWND dlg, int id) {
  return SendMessageA(Item(dlg, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

inline bool IsOn(HWND dlg, int id) {
  return IsWindowEnabled(Item(dlg, id)) != FALSE;
}

// The control's own visibility, whether or not its dialog is on show yet.
inline bool IsShown(HWND dlg, int id) {
  return (GetWindowLongPtrA(Item(dlg, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

inline int Selected(HWND dlg, int id) {
  return static_cast<int>(SendMessageA(Item(dlg, id), CB_GETCURSEL, 0, 0));
}

// Chooses an entry of a drop-down list as a click on it does.
inline void ChooseEntry(HWND dlg, int id, int index) {
  SendMessageA(Item(dlg, id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(Item(dlg, id)));
}

// The colour a control is painted in: the background colour its dialog sets when asked.
inline COLORREF PaintedColor(HWND dlg, int id, UINT message = WM_CTLCOLORSTATIC) {
  HDC dc = CreateCompatibleDC(nullptr);
  SetBkColor(dc, RGB(1, 2, 3));
  LRESULT brush = SendMessageA(dlg, message, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(Item(dlg, id)));
  COLORREF color = brush ? GetBkColor(dc) : CLR_INVALID;
  DeleteDC(dc);
  return color;
}

// ---- the on-screen display ----

inline BOOL CALLBACK MatchDisplay(HWND window, LPARAM found) {
  char name[32] = {};
  GetClassNameA(window, name, sizeof name);
  bool topmost = (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (std::strcmp(name, "#32770") != 0 || !topmost || !GetWindow(window, GW_OWNER)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The display: the topmost dialog window with an owner.
inline HWND DisplayWindow() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), MatchDisplay, reinterpret_cast<LPARAM>(&found));
  return found;
}

// A copy of a window's region (null when it has none).
inline HRGN RegionOf(HWND window) {
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(window, region) == ERROR) {
    DeleteObject(region);
    return nullptr;
  }
  return region;
}

class DialogTest : public HitlistTest {
 protected:
  void SetUp() override {
    HitlistTest::SetUp();
    gOpenDialogs.clear();
    gOpenAnswer.clear();
    gColorStarts.clear();
    gColorChosen = true;
    gColorAnswer = 0;
  }

  // Starts the plug-in with `rec` as its settings file; the default template is the sample in
  // the plug-in's data folder, as a first start makes it.
  void Start(SettingsRecord rec = DefaultSettings()) {
    if (FieldText(rec.html.templateFile) == "spinoxsampletemplate.htm")
      SetField(rec.html.templateFile, DataFile("spinoxsampletemplate.htm"));
    HitlistTest::Start(rec);
    HookDialogs();
  }
  // Starts it again on the settings file the last shutdown wrote.
  void Restart() {
    player->Unload();
    player = std::make_unique<TestPlayer>();
    StartPlugin();
    HMODULE dll = player->module();
    HookImport(dll, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(AnswerMessageBox));
    HookImport(dll, "comdlg32.dll", "GetSaveFileNameA", reinterpret_cast<void*>(AnswerSaveDialog));
    HookDialogs();
    Command(ID_HITLIST);
  }
  void HookDialogs() {
    HMODULE dll = player->module();
    HookImport(dll, "comdlg32.dll", "GetOpenFileNameA", reinterpret_cast<void*>(AnswerOpenDialog));
    HookImport(dll, "comdlg32.dll", "ChooseColorA", reinterpret_cast<void*>(AnswerColorChooser));
  }

  HWND Html() const { return FindWindowA(nullptr, "Generate HTML"); }
  static HWND Settings() { return FindWindowA(nullptr, "Spinox Settings"); }

  // config() as the tray menu runs it, with `steps` run inside the settings dialog.
  void WithSettings(std::vector<std::function<void()>> steps) {
    WhileModal(std::move(steps), [this] { player->plugin()->config(); });
  }

  // The settings file the last shutdown wrote.
  SettingsRecord Saved() {
    SettingsRecord rec = {};
    EXPECT_TRUE(ReadSettingsFile(DataFile("gen_spinox.dat"), &rec));
    return rec;
  }
};

}  // namespace spinox::e2e
