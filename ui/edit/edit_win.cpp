// The edit dialog: the names of the focused row's entry, the artist list and the albums of the
// artist typed, and the update of the database on OK.
#include "ui/edit/edit_win.h"

#include <string>
#include <vector>

#include "base/text.h"
#include "base/user.h"
#include "db/edit.h"
#include "db/lookup.h"
#include "db/name_lists.h"
#include "hitlist/shown_list.h"
#include "resources/resource.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/controls_win.h"

namespace spinox {

namespace {

const char* const kCaptions[] = {"Edit Song", "Edit Album", "Edit Artist"};
constexpr char kFailedText[] =
    "The change could not be written to the database.\n"
    "Check that the plug-in's data folder can be written to, then try again.";

EditDialogState& StateOf(HWND dlg) {
  return *reinterpret_cast<EditDialogState*>(GetWindowLongPtrW(dlg, DWLP_USER));
}

int Kind(HWND dlg) {
  int32_t type = StateOf(dlg)._editType;
  return type >= 0 && type <= 2 ? type : 0;
}

// What the user typed, whole, in any script: the update cuts each name to its field, between
// characters.
std::string Text(HWND dlg, int id) {
  return CaptionOf(GetDlgItem(dlg, id));
}

void FillNames(HWND dlg, int id, const std::vector<std::string>& names) {
  CBO_Clear(dlg, id);
  for (const std::string& n : names) CBO_InsertItem(dlg, id, n.c_str());
}

// The lookup lowercases what it is given: the text shown keeps its case.
RecId ArtistIdOf(const std::string& name) {
  char key[kNameSize] = {};
  SetField(key, name);
  return FindArtist(key);
}

// The albums offered are those of the artist typed; the album text stays as it is.
void FollowArtist(HWND dlg, const std::string& artist) {
  std::string album = Text(dlg, IDC_EDITALBUM);
  RecId artistId = ArtistIdOf(artist);
  CBO_Clear(dlg, IDC_EDITALBUM);
  if (artistId != kNoId) FillNames(dlg, IDC_EDITALBUM, FillCBOWithAlbums(artistId));
  SetText(dlg, IDC_EDITALBUM, album.c_str());
}

// While a selection changes the edit field still shows the old text: the entry chosen counts.
std::string ChosenArtist(HWND dlg, int code) {
  char text[kNameSize] = {};
  bool chosen = code == CBN_SELCHANGE || code == CBN_SELENDOK;
  if (chosen && CBO_GetCurString(dlg, IDC_EDITARTIST, text, sizeof text) >= 0) return text;
  return Text(dlg, IDC_EDITARTIST);
}

// The focused row's item, or null when no row of the list on show has the focus.
const HitListItem* FocusedItem() {
  HWND hit = Shell()._hwndHit;
  int row = hit ? LV_GetSelected(hit, IDC_LIST) : -1;
  return ShownItem(Shell().list, row);
}

void ShowNames(HWND dlg, RecId rowId) {
  char title[kNameSize] = {}, album[kNameSize] = {}, artist[kNameSize] = {};
  GetSongInfo(rowId, Shell().list.settings._type, title, album, artist);
  RecId artistId = ArtistIdOf(artist);
  FillNames(dlg, IDC_EDITARTIST, FillCBOWithArtists());
  if (artistId != kNoId) FillNames(dlg, IDC_EDITALBUM, FillCBOWithAlbums(artistId));
  SetText(dlg, IDC_EDITTITLE, title);
  SetText(dlg, IDC_EDITALBUM, album);
  SetText(dlg, IDC_EDITARTIST, artist);
}

// An entry without an id of its own (a song stored without album or artist, an album whose
// artist is gone) is not edited: the update would rewrite records that hold -1 for other
// reasons.
void OnInit(HWND dlg) {
  int kind = Kind(dlg);
  SetCaption(dlg, kCaptions[kind]);
  if (kind >= 1) Enable(dlg, IDC_EDITTITLE, 0);
  if (kind == 2) Enable(dlg, IDC_EDITALBUM, 0);
  const HitListItem* item = FocusedItem();
  if (!item) {
    EndDialog(dlg, 0);
    return;
  }
  RecId rowId = static_cast<RecId>(item->id);
  RecId entry = EditEntryId(kind, Shell().list.settings._type, rowId);
  if (entry == kNoId) {
    CurrentUser().Tell(kEditRefusedText, kCaptions[kind]);
    EndDialog(dlg, 0);
    return;
  }
  StateOf(dlg).entry = entry;
  ShowNames(dlg, rowId);
}

int Update(HWND dlg) {
  std::string title = Text(dlg, IDC_EDITTITLE);
  std::string album = Text(dlg, IDC_EDITALBUM);
  std::string artist = Text(dlg, IDC_EDITARTIST);
  RecId entry = StateOf(dlg).entry;
  if (Kind(dlg) == 0) return UpdateSong(entry, title.c_str(), album.c_str(), artist.c_str());
  if (Kind(dlg) == 1) return UpdateAlbum(entry, album.c_str(), artist.c_str());
  return UpdateArtist(entry, artist.c_str());
}

// A declined merge keeps the dialog open with the user's texts, and so does a failed write.
void OnOk(HWND dlg) {
  int result = Update(dlg);
  if (result == kEditDeclined) return;
  if (result == kEditFailed) {
    CurrentUser().Tell(kFailedText, kCaptions[Kind(dlg)]);
    return;
  }
  EndDialog(dlg, result >= kEditUnchanged ? result - 1 : 0);
}

bool FollowsArtist(int code) {
  return code == CBN_SELCHANGE || code == CBN_EDITCHANGE || code == CBN_CLOSEUP ||
         code == CBN_SELENDOK || code == CBN_SELENDCANCEL;
}

void OnCommand(HWND dlg, WPARAM wParam) {
  int control = LOWORD(wParam), code = HIWORD(wParam);
  if (control == IDC_EDITARTIST && FollowsArtist(code)) FollowArtist(dlg, ChosenArtist(dlg, code));
  if (control == IDOK && code == BN_CLICKED) OnOk(dlg);
  if (control == IDCANCEL && code == BN_CLICKED) EndDialog(dlg, 0);
}

}  // namespace

INT_PTR CALLBACK DlgProcEdit(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      if (!lParam) {
        EndDialog(dlg, 0);
        return TRUE;
      }
      SetWindowLongPtrW(dlg, DWLP_USER, lParam);
      OnInit(dlg);
      return TRUE;
    case WM_COMMAND:
      if (GetWindowLongPtrW(dlg, DWLP_USER)) OnCommand(dlg, wParam);
      return TRUE;
  }
  return FALSE;
}

}  // namespace spinox
