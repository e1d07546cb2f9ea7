#include "ui/toolkit/controls_win.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <string>
#include <vector>

#include "ui/toolkit/controls.h"

namespace spinox {

namespace {

LRESULT Send(HWND dlg, int id, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(GetDlgItem(dlg, id), message, wParam, lParam);
}

template <typename T>
LPARAM Ptr(T* p) {
  return reinterpret_cast<LPARAM>(p);
}

// A combo box entry into a buffer of `size` bytes; an entry too long for it is cut.
int ComboText(HWND dlg, int id, int index, char* buffer, int size) {
  if (size <= 0) return CB_ERR;
  LRESULT length = Send(dlg, id, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR || length < 0) return CB_ERR;
  std::vector<char> text(static_cast<size_t>(length) + 1, 0);
  if (Send(dlg, id, CB_GETLBTEXT, index, Ptr(text.data())) == CB_ERR) return CB_ERR;
  size_t copied = strnlen(text.data(), static_cast<size_t>(size) - 1);
  std::memcpy(buffer, text.data(), copied);
  buffer[copied] = 0;
  return static_cast<int>(copied);
}

}  // namespace

int LV_Count(HWND dlg, int id) {
  return static_cast<int>(Send(dlg, id, LVM_GETITEMCOUNT, 0, 0));
}

int LV_GetText(HWND dlg, int id, int row, int column, char* buffer, int size) {
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = size;
  return static_cast<int>(Send(dlg, id, LVM_GETITEMTEXTA, row, Ptr(&item)));
}

int LV_GetClmnText(HWND dlg, int id, int column, char* buffer, int size) {
  LVCOLUMNA col = {};
  col.mask = LVCF_TEXT;
  col.pszText = buffer;
  col.cchTextMax = size;
  return static_cast<int>(Send(dlg, id, LVM_GETCOLUMNA, column, Ptr(&col)));
}

// Only the justification bits: some list views add flags of their own to the format.
int LV_GetClmnAlign(HWND dlg, int id, int column) {
  LVCOLUMNA col = {};
  col.mask = LVCF_FMT;
  Send(dlg, id, LVM_GETCOLUMNA, column, Ptr(&col));
  return col.fmt & LVCFMT_JUSTIFYMASK;
}

DWORD LV_SetStyle(HWND dlg, int id, DWORD extendedStyle) {
  return static_cast<DWORD>(Send(dlg, id, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, extendedStyle));
}

int LV_InsertColumn(HWND dlg, int id, const char* text, int column, int width, int format) {
  LVCOLUMNA col = {};
  col.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
  col.fmt = format;
  col.cx = width;
  col.pszText = const_cast<char*>(text);
  col.iSubItem = column;
  return static_cast<int>(Send(dlg, id, LVM_INSERTCOLUMNA, column, Ptr(&col)));
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
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.pszText = const_cast<char*>(text);
  Send(dlg, id, LVM_INSERTITEMA, 0, Ptr(&item));
  return row;
}

BOOL LV_SetSubItem(HWND dlg, int id, const char* text, int row, int column) {
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = row;
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text);
  return static_cast<BOOL>(Send(dlg, id, LVM_SETITEMA, 0, Ptr(&item)));
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
  return static_cast<int>(Send(dlg, id, CB_ADDSTRING, 0, Ptr(text)));
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
  return static_cast<int>(Send(dlg, id, CB_SELECTSTRING, static_cast<WPARAM>(-1), Ptr(text)));
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
  return static_cast<int>(Send(dlg, id, LB_ADDSTRING, 0, Ptr(text)));
}

int LST_Current(HWND dlg, int id) {
  return static_cast<int>(Send(dlg, id, LB_GETCURSEL, 0, 0));
}

int LST_SetCurSel(HWND dlg, int id, int index) {
  return static_cast<int>(Send(dlg, id, LB_SETCURSEL, index, 0));
}

BOOL SetText(HWND dlg, int id, const char* text) {
  return SetWindowTextA(GetDlgItem(dlg, id), text);
}

int GetText(HWND dlg, int id, char* buffer, int size) {
  if (size > 0) buffer[0] = 0;
  return GetWindowTextA(GetDlgItem(dlg, id), buffer, size);
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

int GetSaveFile(HWND owner, char* name, int size, const char* title, const char* filter,
                const char* defaultExtension) {
  if (size <= 0) return 0;
  name[0] = 0;
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = name;
  ofn.nMaxFile = static_cast<DWORD>(size);
  ofn.lpstrTitle = title;
  ofn.lpstrDefExt = defaultExtension;
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
  return GetSaveFileNameA(&ofn);
}

int GetOpenFile(HWND owner, char* path, char* fileTitle, int size, const char* title,
                const char* filter, const char* defaultExtension, const char* initialFolder) {
  if (size <= 0) return 0;
  path[0] = 0;
  if (fileTitle) fileTitle[0] = 0;
  OPENFILENAMEA ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = path;
  ofn.nMaxFile = static_cast<DWORD>(size);
  ofn.lpstrFileTitle = fileTitle;
  ofn.nMaxFileTitle = fileTitle ? static_cast<DWORD>(size) : 0;
  ofn.lpstrTitle = title;
  ofn.lpstrDefExt = defaultExtension;
  ofn.lpstrInitialDir = initialFolder;
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY;
  return GetOpenFileNameA(&ofn);
}

}  // namespace spinox
