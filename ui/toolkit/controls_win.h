// The control helpers: the only way the dialogs read and write their controls. Each names its
// control by the dialog and the control's identifier and performs one platform operation; the
// result is the platform's own unless stated. Texts are UTF-8: the helpers speak to the
// controls in UTF-16 (the wide messages), and a text read into a buffer too small for it is cut
// between characters.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/toolkit/controls.h"

namespace spinox {

// List views (report view); rows and columns count from 0.
int LV_Count(HWND dlg, int id);
int LV_GetText(HWND dlg, int id, int row, int column, char* buffer, int size);
int LV_GetClmnText(HWND dlg, int id, int column, char* buffer, int size);
int LV_GetClmnAlign(HWND dlg, int id, int column);  // left 0, right 1, centre 2
DWORD LV_SetStyle(HWND dlg, int id, DWORD extendedStyle);
int LV_InsertColumn(HWND dlg, int id, const char* text, int column, int width, int format);
BOOL LV_DeleteColumn(HWND dlg, int id, int column);
int LV_GetColumnWidth(HWND dlg, int id, int column);
BOOL LV_SetColumnWidth(HWND dlg, int id, int column, int width);
int LV_InsertItem(HWND dlg, int id, const char* text);  // appends; the new row's index
BOOL LV_SetSubItem(HWND dlg, int id, const char* text, int row, int column);
BOOL LV_Clear(HWND dlg, int id);
int LV_GetSelected(HWND dlg, int id);  // the row with the keyboard focus, -1 if none
BOOL LV_RedrawItem(HWND dlg, int id, int row);
int GetWindowWidth(HWND dlg, int id);

// Check boxes.
int CHK_IsChecked(HWND dlg, int id);  // 1 only for the checked state
void CHK_Check(HWND dlg, int id);
void CHK_UnCheck(HWND dlg, int id);

// Drop-down combo boxes. The text readers take the buffer's size and cut a longer entry.
int CBO_InsertItem(HWND dlg, int id, const char* text);
void CBO_Clear(HWND dlg, int id);
int CBO_Current(HWND dlg, int id);
int CBO_Count(HWND dlg, int id);
int CBO_SetCurSel(HWND dlg, int id, int index);
int CBO_SelectString(HWND dlg, int id, const char* text);
int CBO_GetString(HWND dlg, int id, int index, char* buffer, int size);
int CBO_GetCurString(HWND dlg, int id, char* buffer, int size);

// List boxes.
int LST_InsertItem(HWND dlg, int id, const char* text);
int LST_Current(HWND dlg, int id);
int LST_SetCurSel(HWND dlg, int id, int index);

// Any control's text; edit fields.
BOOL SetText(HWND dlg, int id, const char* text);
int GetText(HWND dlg, int id, char* buffer, int size);  // the bytes read
// Any window's caption (a control's text), read and written whole.
BOOL SetCaption(HWND window, const std::string& text);
std::string CaptionOf(HWND window);
int ED_GetInt(HWND dlg, int id);  // an empty field reads as 0 and is set to "0"
BOOL ED_SetInt(HWND dlg, int id, int value);
void ED_SetMultiText(HWND dlg, int id, const char* text, int size);
void ED_GetMultiText(HWND dlg, int id, char* buffer, int size);

// Scroll bar controls and progress bars.
int SC_GetPos(HWND dlg, int id);
// Where the thumb is being dragged, or was let go (SB_THUMBTRACK, SB_THUMBPOSITION), in 32
// bits: the scroll message's own position is cut to 16.
int SC_GetTrackPos(HWND dlg, int id);
int SC_SetPos(HWND dlg, int id, int position);
int SC_SetRange(HWND dlg, int id, int minimum, int maximum);
void PB_SetRange(HWND dlg, int id, int minimum, int maximum, int step);
int PB_Step(HWND dlg, int id);

// Plain windows.
void Enable(HWND dlg, int id, int flag);
void Show(HWND dlg, int id, int flag);

// Date-time pickers: their fields are local time, with the zone's daylight-saving rule.
PickerTime GetSelFields(HWND dlg, int id);
void SetSelTime(HWND dlg, int id, int32_t time);

// A message box; the button pressed (IDOK, IDYES...).
int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT type);
// Opens a file or an address with the program the system associates with it.
bool OpenInShell(HWND owner, const std::string& target);

// The common file dialogs. `filter` is pairs of description and pattern, each ended by a NUL,
// the list by a second NUL. Non-zero when the user confirmed; then the path chosen (and, when
// asked for, its file name part) is set.
int GetSaveFile(HWND owner, std::string* name, const char* title, const char* filter,
                const char* defaultExtension);
int GetOpenFile(HWND owner, std::string* path, std::string* fileTitle, const char* title,
                const char* filter, const char* defaultExtension, const char* initialFolder);

}  // namespace spinox
