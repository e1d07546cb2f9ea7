// The hit list window's procedure: creation and skin changes, resizing, the list view's
// notifications, the commands on the list on show and the period scroll bar.
#include "ui/hitlist/list_win.h"

#include <string>

#include "base/file.h"
#include "db/play.h"
#include "hitlist/period.h"
#include "hitlist/playlist.h"
#include "hitlist/shown_list.h"
#include "resources/resource.h"
#include "ui/edit/edit_win.h"
#include "ui/hitlist/tool_win.h"
#include "ui/hitlist/view_win.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/controls_win.h"
#include "ui/toolkit/skin.h"
#include "ui/toolkit/skin_win.h"

namespace spinox {

namespace {

constexpr DWORD kListStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT;  // 0x21
constexpr int kPageStep = 10;
constexpr char kRemoveText[] =
    "The selected song will be completely removed from the database.\n\nAre you sure?";
constexpr char kRemoveCaption[] = "Remove Song from Database";
constexpr char kSaveTitle[] = "Save Playlist As";
// UTF-8 first: it keeps every name; .m3u is written in the ANSI code page.
constexpr char kSaveFilter[] = "M3U8 Playlist Files (UTF-8)\0*.m3u8\0M3U Playlist Files\0*.m3u\0";
// Appended to a name typed without an extension (the dialog takes it without the dot).
constexpr char kSaveExtension[] = "m3u8";

void SetListColors(HWND dlg) {
  HWND list = GetDlgItem(dlg, IDC_LIST);
  const Skin& skin = Shell().skin;
  SendMessageW(list, LVM_SETTEXTCOLOR, 0, WADlg_getColor(skin, 1));
  SendMessageW(list, LVM_SETBKCOLOR, 0, WADlg_getColor(skin, 0));
  SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, WADlg_getColor(skin, 0));
}

void DrawBorders(HWND dlg) {
  WADlg_DrawChildWindowBorders(Shell().skin, dlg);
}

void OnInit(HWND dlg) {
  Shell()._hwndHit = dlg;
  ReadPlayerSkin(Shell());
  LV_SetStyle(dlg, IDC_LIST, kListStyle);
  LV_Clear(dlg, IDC_LIST);
  SetText(dlg, IDC_TITLE, "");
  SetCaption(GetParent(dlg), "Spinox Hitlist");
  Show(dlg, IDC_PROGRESS, 0);
  SetListColors(dlg);
  RECT r = {};
  GetWindowRect(dlg, &r);
  FixListSize(r.right - r.left, r.bottom - r.top);
}

void OnSkinChange(HWND dlg, WPARAM wParam, LPARAM lParam) {
  ReadPlayerSkin(Shell());
  DrawBorders(dlg);
  SetListColors(dlg);
  if (wParam || lParam) return;
  ShowWindow(dlg, SW_HIDE);
  ShowWindow(dlg, SW_SHOW);
}

ShownList& List() {
  return Shell().list;
}

int32_t ListType() {
  return List().settings._type;
}

WPARAM EditCommandOf(int32_t type) {
  if (type == kListAlbums) return ID_EDITALBUM;
  if (type == kListArtists) return ID_EDITARTIST;
  return ID_EDITSONG;
}

// The pop-up of menu 108 for the list type; the log has none.
void ContextMenu(HWND dlg) {
  POINT at = {};
  GetCursorPos(&at);
  HMENU menu = LoadMenuW(Shell().instance, MAKEINTRESOURCEW(IDR_CONTEXTMENU));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu, ListType() % 4);
  if (popup) {
    SetForegroundWindow(dlg);
    TrackPopupMenu(popup, 0, at.x, at.y, 0, dlg, nullptr);
    PostMessageW(dlg, WM_NULL, 0, 0);
  }
  DestroyMenu(menu);
}

INT_PTR OnNotify(HWND dlg, NMHDR* header) {
  if (header->idFrom != IDC_LIST) return 0;
  switch (header->code) {
    case NM_DBLCLK:
      if (LV_GetSelected(dlg, IDC_LIST) != -1)
        SendMessageW(dlg, WM_COMMAND, EditCommandOf(ListType()), 0);
      return 0;
    case NM_RCLICK:
      if (LV_GetSelected(dlg, IDC_LIST) != -1) ContextMenu(dlg);
      return 0;
    case NM_CUSTOMDRAW:
      List().lvSelect = LV_GetSelected(dlg, IDC_LIST);
      SetWindowLongPtrW(dlg, DWLP_MSGRESULT,
                        ProcessCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header)));
      return TRUE;
  }
  return 0;
}

void EnableTool(BOOL on) {
  const ShellState& shell = Shell();
  if (shell._hwndTool) EnableWindow(shell._hwndTool, on);
  if (shell.wa2) EnableWindow(shell.wa2, on);
}

void Edit(HWND dlg, int editType) {
  EnableTool(FALSE);
  EditDialogState edit;
  edit._editType = editType;
  INT_PTR changed = DialogBoxParamW(Shell().instance, MAKEINTRESOURCEW(IDD_EDIT), dlg, DlgProcEdit,
                                    reinterpret_cast<LPARAM>(&edit));
  if (changed > 0) RefreshHitList();
  EnableTool(TRUE);
}

// Only song rows name a song: the albums' and artists' ids are not song ids. The song is taken
// before the question, and the panel that could refresh the list meanwhile is disabled.
void Remove(HWND dlg) {
  const HitListItem* item = ShownItem(List(), LV_GetSelected(dlg, IDC_LIST));
  if (!item || (ListType() != kListSongs && ListType() != kListLog)) return;
  RecId song = static_cast<RecId>(item->id);
  EnableTool(FALSE);
  bool yes = ShowMessage(dlg, kRemoveText, kRemoveCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
  EnableTool(TRUE);
  if (!yes) return;
  if (!RemoveFromDatabase(song)) {
    std::string text = "The song could not be removed; nothing was changed.\n\n" + LastIoError();
    ShowMessage(dlg, text, kRemoveCaption, MB_OK | MB_ICONWARNING);
    return;
  }
  RefreshHitList();
}

void MakeListPlaylist(HWND dlg, int32_t action) {
  const ShownList& list = List();
  std::string path;
  if (action == kSave && list._hitlistsize > 0) {
    if (!GetSaveFile(dlg, &path, kSaveTitle, kSaveFilter, kSaveExtension)) return;
  }
  std::string why, note;
  if (MakePlaylist(action, list.settings._type, list._hitlistsize, list._hitlist.data(), path, &why,
                   &note)) {
    if (!note.empty()) ShowMessage(dlg, note, kSaveTitle, MB_OK | MB_ICONINFORMATION);
    return;
  }
  std::string text = "The playlist could not be written.\n\n" + why;
  ShowMessage(dlg, text, action == kSave ? kSaveTitle : "Spinox", MB_OK | MB_ICONWARNING);
}

void EnableWindows(BOOL on, bool frames) {
  const ShellState& shell = Shell();
  if (frames && shell.wa2) EnableWindow(shell.wa2, on);
  if (frames && shell.wa3) EnableWindow(shell.wa3, on);
  if (shell._hwndHit) EnableWindow(shell._hwndHit, on);
  if (shell._hwndTool) EnableWindow(shell._hwndTool, on);
}

void Playlist(HWND dlg, int32_t action) {
  bool frames = action == kPlay;
  EnableWindows(FALSE, frames);
  MakeListPlaylist(dlg, action);
  EnableWindows(TRUE, frames);
}

void OnCommand(HWND dlg, WPARAM command) {
  switch (LOWORD(command)) {
    case ID_EDITSONG:
      return Edit(dlg, 0);
    case ID_EDITALBUM:
      return Edit(dlg, 1);
    case ID_EDITARTIST:
      return Edit(dlg, 2);
    case ID_REMOVE:
      return Remove(dlg);
    case ID_GENERATEHTML:
      if (Shell()._hwndHTM) ShowWindow(Shell()._hwndHTM, SW_SHOW);
      return;
    case ID_PLAY:
      return Playlist(dlg, kPlay);
    case ID_ENQUEUE:
      return Playlist(dlg, kEnqueue);
    case ID_SAVEPLAYLIST:
      return Playlist(dlg, kSave);
    case IDCANCEL:
      ShowWindow(GetParent(dlg), SW_HIDE);
      ShowWindow(dlg, SW_HIDE);
      return;
  }
}

// Steps and drags only move the thumb; the period follows once, when the scroll ends.
void OnScroll(HWND dlg, WPARAM wParam) {
  int p = SC_GetPos(dlg, IDC_PERIODSCROLL);
  switch (LOWORD(wParam)) {
    case SB_LINELEFT:
      p -= 1;
      break;
    case SB_LINERIGHT:
      p += 1;
      break;
    case SB_PAGELEFT:
      p -= kPageStep;
      break;
    case SB_PAGERIGHT:
      p += kPageStep;
      break;
    case SB_THUMBPOSITION:
      p = SC_GetTrackPos(dlg, IDC_PERIODSCROLL);
      break;
    case SB_ENDSCROLL: {
      ScrollPeriod(List(), SC_GetPos(dlg, IDC_PERIODSCROLL));
      RefreshHitList();
      return;
    }
    default:
      return;
  }
  SC_SetPos(dlg, IDC_PERIODSCROLL, p);
}

}  // namespace

INT_PTR CALLBACK DlgProcList(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  if (INT_PTR brush = WADlg_handleDialogMsgs(Shell().skin, message, wParam)) return brush;
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dlg);
      return 0;
    case WM_DISPLAYCHANGE:
      OnSkinChange(dlg, wParam, lParam);
      return 0;
    case WM_PAINT:
      DrawBorders(dlg);
      return 0;
    case WM_SIZE:
      FixListSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(dlg, reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
      OnCommand(dlg, wParam);
      return 0;
    case WM_HSCROLL:
      OnScroll(dlg, wParam);
      return 0;
  }
  return 0;
}

}  // namespace spinox
