// The edit dialog opened from the hit list: what it shows for each kind of entry, renames and
// merges through its controls, and the list recomputed afterwards.
#include <cstring>

#include "db/edit.h"
#include "db/records.h"
#include "tests/e2e/fixture_win.h"

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

// What the dialog showed.
struct Seen {
  bool opened = false, stillOpen = false, titleOn = false, albumOn = false;
  std::string caption, names;  // names: "title|album|artist" as it opened
  Cells artists, albums, typedAlbums;
  std::string typedAlbum;
};

Script gScript;
Seen gSeen;
int gTries = 0;

BOOL CALLBACK FindEdit(HWND w, LPARAM found) {
  char cls[20] = {}, caption[40] = {};
  GetClassNameA(w, cls, sizeof cls);
  GetWindowTextA(w, caption, sizeof caption);
  if (std::strcmp(cls, "#32770") != 0 || std::strncmp(caption, "Edit ", 5) != 0 ||
      !IsWindowVisible(w))
    return TRUE;
  *reinterpret_cast<HWND*>(found) = w;
  return FALSE;
}

HWND EditDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindEdit, reinterpret_cast<LPARAM>(&found));
  return found;
}

void PostPress(HWND d, int id) {
  PostMessageA(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(d, id)));
}

void CancelIfOpen() {
  HWND d = EditDialog();
  gSeen.stillOpen = d != nullptr;
  if (d) PostPress(d, IDCANCEL);
}

// Runs from the dialog's own message loop, as the user's typing would.
void RunScript() {
  HWND d = EditDialog();
  if (!d) {
    if (++gTries < 20) Later(50, RunScript);
    return;
  }
  char caption[40] = {};
  GetWindowTextA(d, caption, sizeof caption);
  gSeen.opened = true;
  gSeen.caption = caption;
  gSeen.names =
      TextOf(d, IDC_EDITTITLE) + "|" + TextOf(d, IDC_EDITALBUM) + "|" + TextOf(d, IDC_EDITARTIST);
  gSeen.titleOn = IsOn(d, IDC_EDITTITLE);
  gSeen.albumOn = IsOn(d, IDC_EDITALBUM);
  gSeen.artists = Entries(d, IDC_EDITARTIST);
  gSeen.albums = Entries(d, IDC_EDITALBUM);
  if (gScript.typeArtistFirst) {
    SetDlgItemTextA(d, IDC_EDITARTIST, gScript.artist);
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_EDITARTIST, CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_EDITARTIST)));
    gSeen.typedAlbums = Entries(d, IDC_EDITALBUM);
    gSeen.typedAlbum = TextOf(d, IDC_EDITALBUM);
  }
  if (gScript.title) SetDlgItemTextA(d, IDC_EDITTITLE, gScript.title);
  if (gScript.album) SetDlgItemTextA(d, IDC_EDITALBUM, gScript.album);
  if (gScript.artist && !gScript.typeArtistFirst)
    SetDlgItemTextA(d, IDC_EDITARTIST, gScript.artist);
  PostPress(d, gScript.ok ? IDOK : IDCANCEL);
  if (gScript.cancelIfStillOpen) Later(150, CancelIfOpen);
}

struct EditCase {
  const char* name;
  int type, row;   // row -1: no row has the focus
  WPARAM command;  // 0: a double click on the row
  Script script;
  int boxAnswer;
  const char* caption;  // null: no dialog opens
  const char* names;    // as it opened
  bool titleOn, albumOn;
  int recomputed;
  int afterType, column;  // the list refreshed afterwards, and a column of it
  Cells cells;
};

Script Typing(const char* title, const char* album, const char* artist, bool ok = true) {
  Script s;
  s.title = title, s.album = album, s.artist = artist, s.ok = ok;
  return s;
}

Script ArtistTyped(const char* artist) {
  Script s;
  s.artist = artist, s.ok = false, s.typeArtistFirst = true;
  return s;
}

Script Merge(bool cancelIfStillOpen) {
  Script s = Typing("alpha", "first", "band one");
  s.cancelIfStillOpen = cancelIfStillOpen;
  return s;
}

// Two days ago: alpha 3, beta 2, gamma 1. Each case goes on from the one before.
const EditCase kEdits[] = {
    {"the log's double click edits the song",
     3,
     2,
     0,
     Typing(nullptr, nullptr, nullptr, false),
     IDNO,
     "Edit Song",
     "gamma|second|band two",
     true,
     true,
     0,
     0,
     1,
     {"alpha", "beta", "gamma"}},
    {"no focused row, no dialog",
     0,
     -1,
     ID_EDITSONG,
     Typing("x", nullptr, nullptr),
     IDNO,
     nullptr,
     "",
     false,
     false,
     0,
     0,
     1,
     {"alpha", "beta", "gamma"}},
    {"the artist typed brings its albums",
     0,
     0,
     ID_EDITSONG,
     ArtistTyped("band two"),
     IDNO,
     "Edit Song",
     "alpha|first|band one",
     true,
     true,
     0,
     0,
     1,
     {"alpha", "beta", "gamma"}},
    {"cancel leaves the list",
     0,
     0,
     ID_EDITSONG,
     Typing("Something Else", nullptr, nullptr, false),
     IDNO,
     "Edit Song",
     "alpha|first|band one",
     true,
     true,
     0,
     0,
     1,
     {"alpha", "beta", "gamma"}},
    {"a change of case alone is the same song",
     0,
     0,
     ID_EDITSONG,
     Typing("ALPHA", nullptr, nullptr),
     IDNO,
     "Edit Song",
     "alpha|first|band one",
     true,
     true,
     0,
     0,
     1,
     {"alpha", "beta", "gamma"}},
    {"rename a song",
     0,
     1,
     ID_EDITSONG,
     Typing("Beta Remix", nullptr, nullptr),
     IDNO,
     "Edit Song",
     "beta|first|band one",
     true,
     true,
     1,
     0,
     1,
     {"alpha", "Beta Remix", "gamma"}},
    {"a declined merge keeps the dialog",
     0,
     2,
     ID_EDITSONG,
     Merge(true),
     IDNO,
     "Edit Song",
     "gamma|second|band two",
     true,
     true,
     0,
     0,
     1,
     {"alpha", "Beta Remix", "gamma"}},
    {"an accepted merge",
     0,
     2,
     ID_EDITSONG,
     Merge(false),
     IDYES,
     "Edit Song",
     "gamma|second|band two",
     true,
     true,
     1,
     0,
     4,
     {"4", "2"}},
    {"the album of a song row",
     0,
     0,
     ID_EDITALBUM,
     Typing(nullptr, "First Light", nullptr),
     IDNO,
     "Edit Album",
     "alpha|first|band one",
     false,
     true,
     1,
     1,
     1,
     {"First Light"}},
    {"an artist's case alone",
     2,
     0,
     ID_EDITARTIST,
     Typing(nullptr, nullptr, "Band One"),
     IDNO,
     "Edit Artist",
     "||band one",
     false,
     false,
     0,
     2,
     1,
     {"band one"}},
    {"the double click edits the list's type",
     2,
     0,
     0,
     Typing(nullptr, nullptr, "The Band"),
     IDNO,
     "Edit Artist",
     "||band one",
     false,
     false,
     1,
     1,
     2,
     {"The Band"}},
};

class EditDialogTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    int32_t t = now - 2 * kDay;
    for (const Track* p : {&kA, &kB, &kA, &kC, &kB, &kA}) Record(*p, t += kHour);
  }
};

TEST_F(EditDialogTest, RenamesAndMergesThroughTheDialog) {
  Start();
  for (const EditCase& c : kEdits) {
    SCOPED_TRACE(c.name);
    Refresh(c.type, 1);
    if (c.row >= 0) FocusRow(c.row);
    gScript = c.script;
    gSeen = Seen();
    gTries = c.caption ? 0 : 15;
    gWatched.recomputed = 0;
    gWatched.boxes.clear();
    gWatched.boxAnswer = c.boxAnswer;
    Later(50, RunScript);
    if (c.command)
      ListCommand(c.command);
    else
      Notify(NM_DBLCLK);
    player->Pump(c.script.cancelIfStillOpen || !c.caption ? 300 : 0);
    EXPECT_EQ(gSeen.opened, c.caption != nullptr);
    if (c.caption) {
      EXPECT_EQ(gSeen.caption, c.caption);
      EXPECT_EQ(gSeen.names, c.names);
      EXPECT_EQ(gSeen.titleOn, c.titleOn);
      EXPECT_EQ(gSeen.albumOn, c.albumOn);
    }
    EXPECT_EQ(gWatched.recomputed, c.recomputed);
    EXPECT_EQ(gSeen.stillOpen, c.script.cancelIfStillOpen) << "declined: the user's texts stay";
    EXPECT_EQ(gWatched.boxes.size(), c.script.cancelIfStillOpen || c.boxAnswer == IDYES ? 1u : 0u);
    for (const BoxCall& box : gWatched.boxes) {
      EXPECT_EQ(box.text,
                "This song already exists in the database. Do you want to merge the two songs?");
      EXPECT_EQ(box.caption, "Edit Song");
    }
    if (c.script.typeArtistFirst) {
      EXPECT_EQ(gSeen.artists, (Cells{"band one", "band two"}));
      EXPECT_EQ(gSeen.albums, Cells{"first"}) << "the artist's albums";
      EXPECT_EQ(gSeen.typedAlbums, Cells{"second"});
      EXPECT_EQ(gSeen.typedAlbum, "first") << "the album text stays as typed";
    }
    Refresh(c.afterType, 1);
    EXPECT_EQ(Column(c.column), c.cells);
    EXPECT_TRUE(IsWindowEnabled(Tool()));
  }
}

TEST_F(EditDialogTest, AnEntryWithoutAnIdOfItsOwnIsNotEdited) {
  // Gamma's song record loses its album: its album cannot be edited.
  std::string songs = ReadText(DataFile("gen_spinox.sng"));
  ASSERT_EQ(songs.size(), 3 * sizeof(SongRecord));
  std::memset(songs.data() + 2 * sizeof(SongRecord) + 8, 0xFF, 4);
  WriteText(DataFile("gen_spinox.sng"), songs);
  Start();
  Refresh(0, 1);
  FocusRow(2);
  gSeen = Seen();
  gTries = 15;
  Later(50, RunScript);
  ListCommand(ID_EDITALBUM);
  player->Pump(300);
  EXPECT_FALSE(gSeen.opened);
  ASSERT_EQ(gWatched.boxes.size(), 1u);
  EXPECT_EQ(gWatched.boxes[0].text, kEditRefusedText);
  EXPECT_EQ(gWatched.boxes[0].caption, "Edit Album");
  EXPECT_EQ(ReadText(DataFile("gen_spinox.sng")), songs) << "nothing written";
}

}  // namespace
}  // namespace spinox::e2e
