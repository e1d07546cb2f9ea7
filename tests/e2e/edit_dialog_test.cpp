// The edit dialog opened from the hit list: what it shows for each kind of
// entry, renames and merges through its controls, and the list recomputed
// afterwards.
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/codepage.h"
#include "base/text.h"
#include "db/records.h"
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

// What the user does in the dialog: the texts typed ("title|album|artist", '*'
// leaves a box as it is), then how the dialog is left.
enum class Then { kOk, kCancel, kTypeArtistFirst, kOkThenCancel };
struct Script {
  const char* typed;
  Then then;
};

// What the dialog showed: "caption: title|album|artist" as it opened, then " T"
// and " A" for the title and album boxes when they are enabled.
struct Seen {
  bool opened = false, stillOpen = false;
  bool unicode = false;  // the dialog and its boxes are Unicode windows
  std::string shown, artists, albums, typedAlbums, typedAlbum;
};

Script gScript = {"*|*|*", Then::kCancel};
Seen gSeen;
int gTries = 0;

BOOL CALLBACK FindEdit(HWND w, LPARAM found) {
  char cls[20] = {};
  GetClassNameA(w, cls, sizeof cls);
  if (std::strcmp(cls, "#32770") != 0 || WindowText(w).rfind("Edit ", 0) != 0 ||
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

std::string Part(const char* typed, int n) {
  std::string text = typed;
  for (int i = 0; i < n; ++i) text = text.substr(text.find('|') + 1);
  return text.substr(0, text.find('|'));
}

void TypeInto(HWND d, int id, const std::string& text) {
  if (text != "*") SetDlgItemTextW(d, id, WideFromUtf8(text).c_str());
}

// Runs from the dialog's own message loop, as the user's typing would.
void RunScript() {
  HWND d = EditDialog();
  if (!d) {
    if (++gTries < 20) Later(50, RunScript);
    return;
  }
  gSeen.opened = true;
  gSeen.unicode = IsWindowUnicode(d) && IsWindowUnicode(GetDlgItem(d, IDC_EDITTITLE)) &&
                  IsWindowUnicode(GetDlgItem(d, IDC_EDITARTIST));
  gSeen.shown = WindowText(d) + ": " + TextOf(d, IDC_EDITTITLE) + "|" + TextOf(d, IDC_EDITALBUM) +
                "|" + TextOf(d, IDC_EDITARTIST) + (IsOn(d, IDC_EDITTITLE) ? " T" : "") +
                (IsOn(d, IDC_EDITALBUM) ? " A" : "");
  gSeen.artists = Join(Entries(d, IDC_EDITARTIST));
  gSeen.albums = Join(Entries(d, IDC_EDITALBUM));
  if (gScript.then == Then::kTypeArtistFirst) {
    TypeInto(d, IDC_EDITARTIST, Part(gScript.typed, 2));
    SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_EDITARTIST, CBN_EDITCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_EDITARTIST)));
    gSeen.typedAlbums = Join(Entries(d, IDC_EDITALBUM));
    gSeen.typedAlbum = TextOf(d, IDC_EDITALBUM);
  }
  TypeInto(d, IDC_EDITTITLE, Part(gScript.typed, 0));
  TypeInto(d, IDC_EDITALBUM, Part(gScript.typed, 1));
  TypeInto(d, IDC_EDITARTIST, Part(gScript.typed, 2));
  bool ok = gScript.then == Then::kOk || gScript.then == Then::kOkThenCancel;
  PostPress(d, ok ? IDOK : IDCANCEL);
  if (gScript.then == Then::kOkThenCancel) Later(150, CancelIfOpen);
}

struct EditCase {
  const char* name;
  int type, row;   // row -1: no row has the focus
  WPARAM command;  // 0: a double click on the row
  Script script;
  int boxAnswer;
  const char* shown;  // null: no dialog opens
  int recomputed;
  int afterType, column;  // the list refreshed afterwards, and a column of it
  const char* cells;
};

constexpr Script kLeave = {"*|*|*", Then::kCancel};
constexpr Script kMerge = {"alpha|first|band one", Then::kOkThenCancel};

// Two days ago: alpha 3, beta 2, gamma 1. Each case goes on from the one
// before.
// clang-format off
const EditCase kEdits[] = {
    {"the log's double click edits the song", 3, 2, 0, kLeave, IDNO,
     "Edit Song: gamma|second|band two T A", 0, 0, 1, "alpha|beta|gamma"},
    {"no focused row, no dialog", 0, -1, ID_EDITSONG, {"x|*|*", Then::kOk}, IDNO, nullptr, 0, 0, 1,
     "alpha|beta|gamma"},
    {"the artist typed brings its albums", 0, 0, ID_EDITSONG, {"*|*|band two", Then::kTypeArtistFirst},
     IDNO, "Edit Song: alpha|first|band one T A", 0, 0, 1, "alpha|beta|gamma"},
    {"cancel leaves the list", 0, 0, ID_EDITSONG, {"Something Else|*|*", Then::kCancel}, IDNO,
     "Edit Song: alpha|first|band one T A", 0, 0, 1, "alpha|beta|gamma"},
    {"a change of case alone is the same song", 0, 0, ID_EDITSONG, {"ALPHA|*|*", Then::kOk}, IDNO,
     "Edit Song: alpha|first|band one T A", 0, 0, 1, "alpha|beta|gamma"},
    {"rename a song", 0, 1, ID_EDITSONG, {"Beta Remix|*|*", Then::kOk}, IDNO,
     "Edit Song: beta|first|band one T A", 1, 0, 1, "alpha|Beta Remix|gamma"},
    {"a declined merge keeps the dialog", 0, 2, ID_EDITSONG, kMerge, IDNO,
     "Edit Song: gamma|second|band two T A", 0, 0, 1, "alpha|Beta Remix|gamma"},
    {"an accepted merge", 0, 2, ID_EDITSONG, kMerge, IDYES, "Edit Song: gamma|second|band two T A",
     1, 0, 4, "4|2"},
    {"the album of a song row", 0, 0, ID_EDITALBUM, {"*|First Light|*", Then::kOk}, IDNO,
     "Edit Album: alpha|first|band one A", 1, 1, 1, "First Light"},
    {"an artist's case alone", 2, 0, ID_EDITARTIST, {"*|*|Band One", Then::kOk}, IDNO,
     "Edit Artist: ||band one", 0, 2, 1, "band one"},
    {"the double click edits the list's type", 2, 0, 0, {"*|*|The Band", Then::kOk}, IDNO,
     "Edit Artist: ||band one", 1, 1, 2, "The Band"},
};
// clang-format on

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
    gTries = c.shown ? 0 : 15;
    gWatched.recomputed = 0;
    gWatched.boxes.clear();
    gWatched.boxAnswer = c.boxAnswer;
    Later(50, RunScript);
    if (c.command) ListCommand(c.command);
    if (!c.command) Notify(NM_DBLCLK);
    bool merge = c.script.then == Then::kOkThenCancel;
    player->Pump(merge || !c.shown ? 300 : 0);
    EXPECT_EQ(gSeen.opened, c.shown != nullptr);
    EXPECT_EQ(gSeen.shown, c.shown ? c.shown : "");
    EXPECT_EQ(gWatched.recomputed, c.recomputed);
    EXPECT_EQ(gSeen.stillOpen, merge && c.boxAnswer == IDNO) << "declined: the user's texts stay";
    EXPECT_EQ(gWatched.boxes.size(), merge ? 1u : 0u);
    for (const BoxCall& box : gWatched.boxes) {
      EXPECT_EQ(box.text,
                "This song already exists in the database. Do you "
                "want to merge the two songs?");
      EXPECT_EQ(box.caption, "Edit Song");
    }
    if (c.script.then == Then::kTypeArtistFirst) {
      EXPECT_EQ(gSeen.artists, "band one|band two");
      EXPECT_EQ(gSeen.albums, "first") << "the artist's albums";
      EXPECT_EQ(gSeen.typedAlbums, "second");
      EXPECT_EQ(gSeen.typedAlbum, "first") << "the album text stays as typed";
    }
    Refresh(c.afterType, 1);
    EXPECT_EQ(List(c.column), c.cells);
    EXPECT_TRUE(IsWindowEnabled(Tool()));
  }
}

// Names typed in any script are stored as typed (UTF-8) and shown so; a name longer than its
// field is cut between characters. Each case renames the song of a row of the week's songs
// (alpha 3, beta 2, gamma 1: the order stays), and goes on from the one before.
struct ScriptCase {
  int row;
  const char* typed;   // "title|album|artist"
  const char* stored;  // as the song's record and the row hold it
};
// clang-format off
const ScriptCase kScriptEdits[] = {
    {0, "群青日和|教育|東京事変", "群青日和|教育|東京事変"},
    {1, "Кино|Группа крови|Группа крови", "Кино|Группа крови|Группа крови"},
    {2, "أنا لحبيبي|فيروزيات|فيروز", "أنا لحبيبي|فيروزيات|فيروز"},
    {0, "Ελλάδα|Ζορμπάς|Μίκης Θεοδωράκης", "Ελλάδα|Ζορμπάς|Μίκης Θεοδωράκης"},
    {1, "봄날|You Never Walk Alone|방탄소년단", "봄날|You Never Walk Alone|방탄소년단"},
    {2, "Dziewczyna|Wiśnie|Żółć Łąka", "Dziewczyna|Wiśnie|Żółć Łąka"},
    {0, "🎵 Emoji|🌍|😀 Band", "🎵 Emoji|🌍|😀 Band"},
    // 17 characters of 3 bytes: the 49 bytes of the field hold 16 of them.
    {1, "月亮代表我的心月亮代表我的心月亮代|淡淡幽情|邓丽君",
     "月亮代表我的心月亮代表我的心月亮|淡淡幽情|邓丽君"},
};
// clang-format on

// The song records' names, "title|album|artist" each.
std::vector<std::string> StoredSongs(const std::string& path) {
  std::string bytes = ReadText(path);
  std::vector<std::string> out;
  for (size_t at = 0; at + sizeof(SongRecord) <= bytes.size(); at += sizeof(SongRecord)) {
    SongRecord song;
    std::memcpy(&song, bytes.data() + at, sizeof song);
    out.push_back(FieldText(song.title) + "|" + FieldText(song.album) + "|" +
                  FieldText(song.artist));
  }
  return out;
}

TEST_F(EditDialogTest, NamesTypedInEveryScriptAreStoredAsTyped) {
  Start();
  for (const ScriptCase& c : kScriptEdits) {
    SCOPED_TRACE(c.typed);
    Refresh(0, 1);
    FocusRow(c.row);
    gScript = {c.typed, Then::kOk};
    gSeen = Seen();
    gTries = 0;
    gWatched.boxes.clear();
    Later(50, RunScript);
    ListCommand(ID_EDITSONG);
    EXPECT_TRUE(gSeen.opened);
    EXPECT_TRUE(gSeen.unicode) << "an ANSI window keeps its text in the code page";
    EXPECT_TRUE(gWatched.boxes.empty());
    Refresh(0, 1);
    EXPECT_EQ(Cell(c.row, 1) + "|" + Cell(c.row, 3) + "|" + Cell(c.row, 2), c.stored);
    std::vector<std::string> songs = StoredSongs(DataFile("gen_spinox.sng"));
    EXPECT_NE(std::find(songs.begin(), songs.end(), c.stored), songs.end())
        << "the song's record holds the names as typed";
  }
}

}  // namespace
}  // namespace spinox::e2e
