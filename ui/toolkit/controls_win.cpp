#include "ui/toolkit/controls_win.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/text.h"
#include "ui/toolkit/controls.h"

namespace spinox {

namespace {

// Every message goes to the control as a wide message: the controls are Unicode windows, and
// an ANSI message would pass its text through the code page.
LRESULT Send(HWND dlg, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(GetDlgItem(dlg, id), message, wParam, lParam);
}

template <typename T>
LPARAM Ptr(T* p) {
  return reinterpret_cast<LPARAM>(p);
}

// UTF-8 text into a buffer of `size` bytes, cut between characters when too long; the bytes
// copied.
int CopyOut(const std::string& text, char* buffer, int size) {
  if (size <= 0) return 0;
  CopyText(buffer, static_cast<size_t>(size), text.c_str());
  return static_cast<int>(std::strlen(buffer));
}

// A wide buffer's text up to its first NUL, as UTF-8.
std::string Utf8Of(const std::vector<wchar_t>& wide) {
  return Utf8FromWide(wide.data(), wcsnlen(wide.data(), wide.size()));
}

// A combo box entry into a buffer of `size` bytes; an entry too long for it is cut.
int ComboText(HWND dlg, int id, int index, char* buffer, int size) {
  if (size <= 0) return CB_ERR;
  LRESULT length = Send(dlg, id, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR || length < 0) return CB_ERR;
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, 0);
  if (Send(dlg, id, CB_GETLBTEXT, index, Ptr(text.data())) == CB_ERR) return CB_ERR;
  return CopyOut(Utf8Of(text), buffer, size);
}

// A list of NUL-ended UTF-8 strings ended by an empty one (a file dialog's filter), as wide
// strings in the same form.
std::wstring WideList(const char* list) {
  std::wstring out;
  for (const char* p = list; p && *p; p += std::strlen(p) + 1) {
    out += WideFromUtf8(p);
    out += L'\0';
  }
  out += L'\0';
  return out;
}

// Null for a null text: the dialogs take a null as "none".
const wchar_t* OrNull(const char* text, const std::wstring& wide) {
  return text ? wide.c_str() : nullptr;
}

std::wstring WideOrEmpty(const char* text) {
  return text ? WideFromUtf8(text) : std::wstring();
}

// The file dialogs' answers, at most a long path (the dialogs cut nothing at MAX_PATH when
// given a larger buffer).
constexpr size_t kFileNameChars = 32768;

}  // namespace

int LV_Count(HWND dlg, int id) {
  return static_cast<int>(Send(dlg, id, LVM_GETITEMCOUNT, 0, 0));
}

// A UTF-8 text of `size` bytes needs at most `size` UTF-16 units.
int LV_GetText(HWND dlg, int id, int row, int column, char* buffer, int size) {
  if (size <= 0) return 0;
  std::vector<wchar_t> text(static_cast<size_t>(size), 0);
  LVITEMW item = {};
  item.iSubItem = column;
  item.pszText = text.data();
  item.cchTextMax = size;
  Send(dlg, id, LVM_GETITEMTEXTW, row, Ptr(&item));
  return CopyOut(Utf8Of(text), buffer, size);
}

int LV_GetClmnText(HWND dlg, int id, int column, char* buffer, int size) {
  if (size <= 0) return 0;
  std::vector<wchar_t> text(static_cast<size_t>(size), 0);
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT;
  col.pszText = text.data();
  col.cchTextMax = size;
  if (!Send(dlg, id, LVM_GETCOLUMNW, column, Ptr(&col))) return 0;
  CopyOut(Utf8Of(text), buffer, size);
  return 1;
}

// Only the justification bits: some list views add flags of their own to the format.
int LV_GetClmnAlign(HWND dlg, int id, int column) {
  LVCOLUMNW col = {};
  col.mask = LVCF_FMT;
  Send(dlg, id, LVM_GETCOLUMNW, column, Ptr(&col));
  return col.fmt & LVCFMT_JUSTIFYMASK;
}

DWORD LV_SetStyle(HWND dlg, int id, DWORD extendedStyle) {
  return static_cast<DWORD>(Send(dlg, id, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extendedStyle));
}

int LV_InsertColumn(HWND dlg, int id, const char* text, int column, int width, int format) {
  std::wstring wide = WideOrEmpty(text);
  LVCOLUMNW col = {};
  col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  col.fmt = format;
  col.cx = width;
  col.pszText = wide.data();
  col.iSubItem = column;
  return static_cast<int>(Send(dlg, id, LVM_INSERTCOLUMNW, column, Ptr(&col)));
}

BOOL LV_DeleteColumn(HWND dlg, int id, int column) {
  return static_cast<BOOL>(Send(dlg, id, LVM_DELETECOLUMN, column, 0));
}

int LV_GetColumnWidth(HWND dlg, int id, int column) {
  return static_cast<int>(Send(dlg, id, LVM_GETCOLUMNWIDTH, column, 0));
}

BOOL LV_SetColumnWidth(HWND dlg, int id, int column, int width) {
  return static_cast<BOOL>(Send(dlg, id, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(width, 0)));
}

int LV_InsertItem(HWND dlg, int id, const char* text) {
  int row = LV_Count(dlg, id);
  std::wstring wide = WideOrEmpty(text);
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = wide.data();
  Send(dlg, id, LVM_INSERTITEMW, 0, Ptr(&item));
  return row;
}

BOOL LV_SetSubItem(HWND dlg, int id, const char* text, int row, int column) {
  std::wstring wide = WideOrEmpty(text);
  LVITEMW item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = wide.data();
  return static_cast<BOOL>(Send(dlg, id, LVM_SETITEMW, 0, Ptr(&item)));
}

BOOL LV_Clear(HWND dlg, int id) {
  return static_cast<BOOL>(Send(dlg, id, LVM_DELETEALLITEMS, 0, 0));
}

int LV_GetSelected(HWND dlg, int id) {
  return static_cast<int>(Send(dlg, id, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
}

BOOL LV_RedrawItem(HWND dlg, int id, int row) {
  return static_cast<BOOL>(Send(dlg, id, LVM_REDRAWITEMS, row, row));
}

int GetWindowWidth(HWND dlg, int id) {
  RECT r = {};
  GetWindowRect(GetDlgItem(dlg, id), &r);
  return r.right - r.left;
}

int CHK_IsChecked(HWND dlg, int id) {
  return Send(dlg, id, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void CHK_Check(HWND dlg, int id) {
  Send(dlg, id, BM_SETCHECK, BST_CHECKED, 0);
}

void CHK_UnCheck(HWND dlg, int id) {
  Send(dlg, id, BM_SETCHECK, BST_UNCHECKED, 0);
}

int CBO_InsertItem(HWND dlg, int id, const char* text) {
  std::wstring wide = WideOrEmpty(text);
  return static_cast<int>(Send(dlg, id, CB_ADDSTRING, 0, Ptr(wide.c_str())));
}

void CBO_Clear(HWND dlg, int id) {
  Send(dlg, id, CB_RESETCONTENT, 0, 0);
}

int CBO_Current(HWND dlg, int id) {
  return static_cast<int>(Send(dlg, id, CB_GETCURSEL, 0, 0));
}

int CBO_Count(HWND dlg, int id) {
  return static_cast<int>(Send(dlg, id, CB_GETCOUNT, 0, 0));
}

int CBO_SetCurSel(HWND dlg, int id, int index) {
  return static_cast<int>(Send(dlg, id, CB_SETCURSEL, index, 0));
}

int CBO_SelectString(HWND dlg, int id, const char* text) {
  std::wstring wide = WideOrEmpty(text);
  return static_cast<int>(
      Send(dlg, id, CB_SELECTSTRING, static_cast<WPARAM>(-1), Ptr(wide.c_str())));
}

int CBO_GetString(HWND dlg, int id, int index, char* buffer, int size) {
  return ComboText(dlg, id, index, buffer, size);
}

int CBO_GetCurString(HWND dlg, int id, char* buffer, int size) {
  int index = CBO_Current(dlg, id);
  if (index == CB_ERR) return CB_ERR;
  return ComboText(dlg, id, index, buffer, size);
}

int LST_InsertItem(HWND dlg, int id, const char* text) {
  std::wstring wide = WideOrEmpty(text);
  return static_cast<int>(Send(dlg, id, LB_ADDSTRING, 0, Ptr(wide.c_str())));
}

int LST_Current(HWND dlg, int id) {
  return static_cast<int>(Send(dlg, id, LB_GETCURSEL, 0, 0));
}

int LST_SetCurSel(HWND dlg, int id, int index) {
  return static_cast<int>(Send(dlg, id, LB_SETCURSEL, index, 0));
}

BOOL SetText(HWND dlg, int id, const char* text) {
  return SetCaption(GetDlgItem(dlg, id), text ? text : "");
}

int GetText(HWND dlg, int id, char* buffer, int size) {
  return CopyOut(CaptionOf(GetDlgItem(dlg, id)), buffer, size);
}

BOOL SetCaption(HWND window, const std::string& text) {
  return SetWindowTextW(window, WideFromUtf8(text).c_str());
}

std::string CaptionOf(HWND window) {
  if (!window) return std::string();
  int length = GetWindowTextLengthW(window);
  if (length <= 0) return std::string();
  std::vector<wchar_t> text(static_cast<size_t>(length) + 1, 0);
  GetWindowTextW(window, text.data(), length + 1);
  return Utf8Of(text);
}

int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT type) {
  return MessageBoxW(owner, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), type);
}

bool OpenInShell(HWND owner, const std::string& target) {
  HINSTANCE done =
      ShellExecuteW(owner, nullptr, WideFromUtf8(target).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(done) > 32;
}

int ED_GetInt(HWND dlg, int id) {
  char text[50] = {};
  GetText(dlg, id, text, sizeof text);
  if (!text[0]) {
    SetText(dlg, id, "0");
    return 0;
  }
  return ParseEditInt(text);
}

BOOL ED_SetInt(HWND dlg, int id, int value) {
  return SetText(dlg, id, FormatInt(value).c_str());
}

void ED_SetMultiText(HWND dlg, int id, const char* text, int size) {
  if (size <= 0) return;
  SetText(dlg, id, ToEditLineBreaks(text, static_cast<size_t>(size)).c_str());
}

void ED_GetMultiText(HWND dlg, int id, char* buffer, int size) {
  if (size <= 0) return;
  std::vector<char> work(static_cast<size_t>(size), 0);
  GetText(dlg, id, work.data(), size);
  std::string text = FromEditLineBreaks(work.data(), static_cast<size_t>(size));
  std::memcpy(buffer, text.c_str(), text.size() + 1);
}

int SC_GetPos(HWND dlg, int id) {
  return static_cast<int>(Send(dlg, id, SBM_GETPOS, 0, 0));
}

int SC_SetPos(HWND dlg, int id, int position) {
  return static_cast<int>(Send(dlg, id, SBM_SETPOS, position, TRUE));
}

int SC_GetTrackPos(HWND dlg, int id) {
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  info.fMask = SIF_TRACKPOS;
  if (!GetScrollInfo(GetDlgItem(dlg, id), SB_CTL, &info)) return SC_GetPos(dlg, id);
  return info.nTrackPos;
}

int SC_SetRange(HWND dlg, int id, int minimum, int maximum) {
  return static_cast<int>(Send(dlg, id, SBM_SETRANGE, minimum, maximum));
}

void PB_SetRange(HWND dlg, int id, int minimum, int maximum, int step) {
  Send(dlg, id, PBM_SETRANGE, 0, MAKELPARAM(minimum, maximum));
  Send(dlg, id, PBM_SETSTEP, step, 0);
  Send(dlg, id, PBM_SETPOS, minimum, 0);
}

int PB_Step(HWND dlg, int id) {
  return static_cast<int>(Send(dlg, id, PBM_STEPIT, 0, 0));
}

void Enable(HWND dlg, int id, int flag) {
  EnableWindow(GetDlgItem(dlg, id), flag);
}

void Show(HWND dlg, int id, int flag) {
  ShowWindow(GetDlgItem(dlg, id), flag ? SW_SHOW : SW_HIDE);
}

PickerTime GetSelFields(HWND dlg, int id) {
  SYSTEMTIME st = {};
  Send(dlg, id, DTM_GETSYSTEMTIME, 0, Ptr(&st));
  return PickerTime{st.wYear, st.wMonth,  st.wDayOfWeek, st.wDay,
                    st.wHour, st.wMinute, st.wSecond,    st.wMilliseconds};
}

void SetSelTime(HWND dlg, int id, int32_t time) {
  PickerTime t = CalendarToPicker(time);
  SYSTEMTIME st = {t.year, t.month, 0, t.day, t.hour, t.minute, t.second, 0};
  Send(dlg, id, DTM_SETSYSTEMTIME, GDT_VALID, Ptr(&st));
}

int GetSaveFile(HWND owner, std::string* name, const char* title, const char* filter,
                const char* defaultExtension) {
  std::vector<wchar_t> file(kFileNameChars, 0);
  std::wstring wideTitle = WideOrEmpty(title), wideFilter = WideList(filter),
               wideExtension = WideOrEmpty(defaultExtension);
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = wideFilter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrTitle = OrNull(title, wideTitle);
  ofn.lpstrDefExt = OrNull(defaultExtension, wideExtension);
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  if (!GetSaveFileNameW(&ofn)) return 0;
  *name = Utf8Of(file);
  return 1;
}

int GetOpenFile(HWND owner, std::string* path, std::string* fileTitle, const char* title,
                const char* filter, const char* defaultExtension, const char* initialFolder) {
  std::vector<wchar_t> file(kFileNameChars, 0), name(kFileNameChars, 0);
  std::wstring wideTitle = WideOrEmpty(title), wideFilter = WideList(filter),
               wideExtension = WideOrEmpty(defaultExtension),
               wideFolder = WideOrEmpty(initialFolder);
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = wideFilter.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrFileTitle = fileTitle ? name.data() : nullptr;
  ofn.nMaxFileTitle = fileTitle ? static_cast<DWORD>(name.size()) : 0;
  ofn.lpstrTitle = OrNull(title, wideTitle);
  ofn.lpstrDefExt = OrNull(defaultExtension, wideExtension);
  ofn.lpstrInitialDir = OrNull(initialFolder, wideFolder);
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  if (!GetOpenFileNameW(&ofn)) return 0;
  *path = Utf8Of(file);
  if (fileTitle) *fileTitle = Utf8Of(name);
  return 1;
}

}  // namespace spinox
