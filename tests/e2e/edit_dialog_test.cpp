// The edit dialog opened from the hit list: what it shows for each kind of entry, renames and
// merges through its controls, and the list recomputed afterwards.
#include <cstring>

#include "db/edit.h"
#include "tests/e2e/hitlist_util_win.h"

namespace spinox::e2e {
namespace {

// What the user does in the dialog: texts to type (null: leave), then OK or Cancel.
struct Script {
  const char* title = nullptr;
  const char* album = nullptr;
  const char* artist = nullptr;
  bool ok = true;
  bool typeArtistFirst = false;  // types the artist and reads the album list it brings
  bool cancelIfStillOpen = false;
};

// What the dialog showed when it opened.
struct Seen {
  bool opened = false;
  std::string caption, title, album, artist;
  bool titleEnabled = false, albumEnabled = false;
  Cells artists, albums, albumsAfterTyping;
  std::string albumAfterTyping;
  bool stillOpen = false;
};

Script gScript;
Seen gSeen;
int gTries = 0;

std::string ItemText(HWND d, int id) {
  char text[100] = {};
  GetDlgItemTextA(d, id, text, sizeof text);
  return text;
}

Cells Entries(HWND d, int id) {
  Cells out;
  int n = static_cast<int>(SendDlgItemMessageA(d, id, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[100] = {};
    SendDlgItemMessageA(d, id, CB_GETLBTEXT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(text));
    out.push_back(text);
  }
  return out;
}

BOOL CALLBACK FindEdit(HWND w, LPARAM found) {
  char cls[20] = {}, caption[40] = {};
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, caption, sizeof caption);
  if (std::strcmp(cls, "#32770") == 0 && std::strncmp(caption, "Edit ", 5) == 0 &&
      IsWindowVisible(w)) {
    *reinterpret_cast<HWND*>(found) = w;
    return FALSE;
  }
  return TRUE;
}

HWND EditDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindEdit, reinterpret_cast<LPARAM>(&found));
  return found;
}

void Press(HWND d, int id) {
  PostMessageA(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(d, id)));
}

void CancelIfOpen() {
  HWND d = EditDialog();
  gSeen.stillOpen = d != nullptr;
  if (d) Press(d, IDCANCEL);
}

void TypeArtist(HWND d, const char* artist) {
  SetDlgItemTextA(d, IDC_EDITARTIST, artist);
  SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_EDITARTIST, CBN_EDITCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_EDITARTIST)));
  gSeen.albumsAfterTyping = Entries(d, IDC_EDITALBUM);
  gSeen.albumAfterTyping = ItemText(d, IDC_EDITALBUM);
}

void ReadDialog(HWND d) {
  gSeen.opened = true;
  char caption[40] = {};
  GetWindowTextA(d, caption, sizeof caption);
  gSeen.caption = caption;
  gSeen.title = ItemText(d, IDC_EDITTITLE);
  gSeen.album = ItemText(d, IDC_EDITALBUM);
  gSeen.artist = ItemText(d, IDC_EDITARTIST);
  gSeen.titleEnabled = IsWindowEnabled(GetDlgItem(d, IDC_EDITTITLE));
  gSeen.albumEnabled = IsWindowEnabled(GetDlgItem(d, IDC_EDITALBUM));
  gSeen.artists = Entries(d, IDC_EDITARTIST);
  gSeen.albums = Entries(d, IDC_EDITALBUM);
}

// Runs from the dialog's own message loop, as the user's typing would.
void RunScript() {
  HWND d = EditDialog();
  if (!d) {
    if (++gTries < 20) Later(50, RunScript);
    return;
  }
  ReadDialog(d);
  if (gScript.typeArtistFirst) TypeArtist(d, gScript.artist);
  if (gScript.title) SetDlgItemTextA(d, IDC_EDITTITLE, gScript.title);
  if (gScript.album) SetDlgItemTextA(d, IDC_EDITALBUM, gScript.album);
  if (gScript.artist && !gScript.typeArtistFirst)
    SetDlgItemTextA(d, IDC_EDITARTIST, gScript.artist);
  Press(d, gScript.ok ? IDOK : IDCANCEL);
  if (gScript.cancelIfStillOpen) Later(150, CancelIfOpen);
}

class EditDialogTest : public HitlistTest {
 protected:
  // Two days ago: alpha 3, beta 2, gamma 1.
  void SetUp() override {
    HitlistTest::SetUp();
    int32_t t = now - 2 * kDay;
    for (const Track* p : {&kA, &kB, &kA, &kC, &kB, &kA}) Record(*p, t += kHour);
  }
  // Opens the editor of `command` on row `row` and acts as `script` says. Returns how often the
  // list was recomputed.
  int EditRow(int row, WPARAM command, const Script& script, int tries = 0) {
    gScript = script;
    gSeen = Seen();
    gTries = tries;
    gDisabled = 0;
    FocusRow(row);
    Later(50, RunScript);
    ListCommand(command);
    player->Pump(script.cancelIfStillOpen ? 300 : 0);
    return gDisabled;
  }
  // An editor that must not open: anything that does is cancelled.
  int EditRefused(int row, WPARAM command) {
    int recomputed = EditRow(row, command, Script{nullptr, nullptr, nullptr, false}, 15);
    player->Pump(300);
    return recomputed;
  }
};

TEST_F(EditDialogTest, RenameASong) {
  Start();
  Refresh(0, 1);
  Script s;
  s.title = "Beta Remix";
  EXPECT_EQ(EditRow(1, ID_EDITSONG, s), 1) << "the list is recomputed";
  EXPECT_EQ(gSeen.caption, "Edit Song");
  EXPECT_EQ(gSeen.title, "beta");
  EXPECT_EQ(gSeen.album, "first");
  EXPECT_EQ(gSeen.artist, "band one");
  EXPECT_TRUE(gSeen.titleEnabled);
  EXPECT_EQ(gSeen.artists, (Cells{"band one", "band two"}));
  EXPECT_EQ(gSeen.albums, (Cells{"first"})) << "the artist's albums";
  EXPECT_COLUMN(1, "alpha", "Beta Remix", "gamma");
  EXPECT_COLUMN(4, "3", "2", "1");
  EXPECT_TRUE(IsWindowEnabled(Tool()));
  EXPECT_TRUE(IsWindowEnabled(player->frames[0]));
}

TEST_F(EditDialogTest, CancelAndUnchangedNamesLeaveTheList) {
  Start();
  Refresh(0, 1);
  Script cancel;
  cancel.title = "Something Else";
  cancel.ok = false;
  EXPECT_EQ(EditRow(0, ID_EDITSONG, cancel), 0);
  Script sameNames;
  sameNames.title = "ALPHA";  // only the case differs: the same song
  EXPECT_EQ(EditRow(0, ID_EDITSONG, sameNames), 0);
  EXPECT_TRUE(gSeen.opened);
  EXPECT_COLUMN(1, "alpha", "beta", "gamma");
}

TEST_F(EditDialogTest, MergeIsAskedAndCanBeDeclined) {
  Start();
  Refresh(0, 1);
  Script merge;
  merge.title = "alpha";
  merge.album = "first";
  merge.artist = "band one";
  merge.cancelIfStillOpen = true;
  gBoxAnswer = IDNO;
  EXPECT_EQ(EditRow(2, ID_EDITSONG, merge), 0);
  ASSERT_EQ(gBoxes.size(), 1u);
  EXPECT_EQ(gBoxes[0].text,
            "This song already exists in the database. Do you want to merge the two songs?");
  EXPECT_EQ(gBoxes[0].caption, "Edit Song");
  EXPECT_TRUE(gSeen.stillOpen) << "declined: the dialog stays with the user's texts";
  EXPECT_COLUMN(1, "alpha", "beta", "gamma");

  gBoxAnswer = IDYES;
  merge.cancelIfStillOpen = false;
  EXPECT_EQ(EditRow(2, ID_EDITSONG, merge), 1);
  EXPECT_COLUMN(1, "alpha", "beta");
  EXPECT_COLUMN(4, "4", "2") << "gamma's play counts for alpha";
}

TEST_F(EditDialogTest, AlbumOfASongRow) {
  Start();
  Refresh(0, 1);
  Script s;
  s.album = "First Light";
  EXPECT_EQ(EditRow(0, ID_EDITALBUM, s), 1);
  EXPECT_EQ(gSeen.caption, "Edit Album");
  EXPECT_FALSE(gSeen.titleEnabled);
  EXPECT_TRUE(gSeen.albumEnabled);
  EXPECT_COLUMN(3, "First Light", "First Light", "second");
  Refresh(1, 1);
  EXPECT_COLUMN(1, "First Light", "second");
}

TEST_F(EditDialogTest, ArtistOfTheArtistsList) {
  Start();
  Refresh(2, 1);
  Script sameName;
  sameName.artist = "Band One";
  EXPECT_EQ(EditRow(0, ID_EDITARTIST, sameName), 0) << "a change of case alone finds the same";
  EXPECT_EQ(gSeen.caption, "Edit Artist");
  EXPECT_FALSE(gSeen.titleEnabled);
  EXPECT_FALSE(gSeen.albumEnabled);
  EXPECT_EQ(gSeen.artist, "band one");

  // The double-click opens the editor of the list type.
  gScript = Script();
  gScript.artist = "The Band";
  gSeen = Seen();
  gTries = 0;
  gDisabled = 0;
  FocusRow(0);
  Later(50, RunScript);
  Notify(NM_DBLCLK);
  EXPECT_EQ(gSeen.caption, "Edit Artist");
  EXPECT_EQ(gDisabled, 1);
  EXPECT_COLUMN(1, "The Band", "band two");
  Refresh(1, 1);
  EXPECT_COLUMN(2, "The Band", "band two") << "the albums follow the artist's name";
}

TEST_F(EditDialogTest, DoubleClickOnTheLogEditsTheSong) {
  Start();
  Refresh(3, 1);
  gScript = Script();
  gScript.ok = false;
  gSeen = Seen();
  gTries = 0;
  FocusRow(2);
  Later(50, RunScript);
  Notify(NM_DBLCLK);
  EXPECT_EQ(gSeen.caption, "Edit Song");
  EXPECT_EQ(gSeen.title, "gamma") << "the third latest play";
}

TEST_F(EditDialogTest, TheArtistTypedBringsItsAlbums) {
  Start();
  Refresh(0, 1);
  Script s;
  s.artist = "band two";
  s.typeArtistFirst = true;
  s.ok = false;
  EditRow(0, ID_EDITSONG, s);
  EXPECT_EQ(gSeen.albums, (Cells{"first"}));
  EXPECT_EQ(gSeen.albumsAfterTyping, (Cells{"second"}));
  EXPECT_EQ(gSeen.albumAfterTyping, "first") << "the album text stays as typed";

  s.artist = "nobody";
  EditRow(0, ID_EDITSONG, s);
  EXPECT_TRUE(gSeen.albumsAfterTyping.empty());
}

TEST_F(EditDialogTest, AnEntryWithoutAnIdOfItsOwnIsNotEdited) {
  // Gamma's song record loses its album: its album cannot be edited.
  std::vector<unsigned char> songs = ReadAll(DataFile("gen_spinox.sng"));
  ASSERT_EQ(songs.size(), 3 * sizeof(SongRecord));
  std::memset(songs.data() + 2 * sizeof(SongRecord) + 8, 0xFF, 4);
  FILE* f = std::fopen(DataFile("gen_spinox.sng").c_str(), "wb");
  std::fwrite(songs.data(), 1, songs.size(), f);
  std::fclose(f);
  Start();
  Refresh(0, 1);
  EXPECT_EQ(EditRefused(2, ID_EDITALBUM), 0);
  EXPECT_FALSE(gSeen.opened);
  ASSERT_EQ(gBoxes.size(), 1u);
  EXPECT_EQ(gBoxes[0].text, kEditRefusedText);
  EXPECT_EQ(gBoxes[0].caption, "Edit Album");
  EXPECT_EQ(ReadAll(DataFile("gen_spinox.sng")), songs) << "nothing written";
}

TEST_F(EditDialogTest, NoFocusedRowNoDialog) {
  Start();
  Refresh(0, 1);
  gTries = 15;
  gSeen = Seen();
  Later(50, RunScript);
  ListCommand(ID_EDITSONG);
  player->Pump(300);
  EXPECT_FALSE(gSeen.opened);
  EXPECT_TRUE(gBoxes.empty());
}

}  // namespace
}  // namespace spinox::e2e
