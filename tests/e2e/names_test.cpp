// Real track files named and tagged in several scripts, played from folders named in those
// scripts: each stays a song of its own with its exact names in the record files, the list
// files, the list view, the page and the playlist.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "base/codepage.h"
#include "base/text.h"
#include "db/records.h"
#include "tests/e2e/fixture_win.h"

namespace spinox::e2e {
namespace {

constexpr WPARAM kPlayButton = 40045;

// A tagged fixture (tests/data/tags, copied beside the tests as tags\) played from `path`
// under the music folder.
struct NamedTrack {
  const char* fixture;
  const char* path;
  const char* title;
  const char* artist;
  const char* album;
};

const NamedTrack kTracks[] = {
    {"scripts_v24_ja.mp3", "東京事変\\教育\\群青日和.mp3", "群青日和", "東京事変", "教育"},
    {"scripts_v23_ja.mp3", "椎名林檎\\丸の内線.mp3", "丸の内線", "椎名林檎", "無罪モラトリアム"},
    {"scripts_v23_zh.mp3", "邓丽君\\月亮代表我的心.mp3", "月亮代表我的心", "邓丽君", "淡淡幽情"},
    {"scripts_v24_ko.mp3", "방탄소년단\\봄날.mp3", "봄날", "방탄소년단", "You Never Walk Alone"},
    {"scripts_vorbis_ru.ogg", "Кино\\Группа крови.ogg", "Кино", "Группа крови", "Группа крови"},
    {"scripts_opus_el.opus", "Θεοδωράκης\\Ζορμπάς.opus", "Ελλάδα", "Μίκης Θεοδωράκης", "Ζορμπάς"},
    {"scripts_flac_ar.oga", "فيروز\\أنا لحبيبي.oga", "أنا لحبيبي", "فيروز", "فيروزيات"},
    {"scripts_vorbis_pl.ogg", "Żółć Łąka\\Wiśnie.ogg", "Dziewczyna", "Żółć Łąka", "Wiśnie"},
    {"scripts_v23_cs.mp3", "Dvořák\\Largo.mp3", "Largo", "Antonín Dvořák", "Symfonie č. 9"},
    {"scripts_v24_emoji.mp3", "😀 Band\\🎵 Emoji.mp3", "🎵 Emoji", "😀 Band", "🌍"},
    {"scripts_v1_cp1252.mp3", "Šárka.mp3", "Šárka", "Smetana – “Má vlast”", "Œuvres € 1874"},
};

// The folders of `path` below `base`, made one by one with their wide names.
void MakeFolders(const std::string& base, const std::string& path) {
  for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
    CreateDirectoryW(WideFromUtf8(base + "\\" + path.substr(0, at)).c_str(), nullptr);
}

using Names = std::vector<std::string>;

// title|artist|album of every track, sorted.
Names Expected() {
  Names out;
  for (const NamedTrack& t : kTracks)
    out.push_back(std::string(t.title) + "|" + t.artist + "|" + t.album);
  std::sort(out.begin(), out.end());
  return out;
}

class NamesTest : public PluginTest {
 protected:
  void SetUp() override {
    PluginTest::SetUp();
    for (const NamedTrack& t : kTracks) {
      MakeFolders(TestsFolder() + "\\music", t.path);
      ASSERT_TRUE(CopyFileW(WideFromUtf8(TestsFolder() + "\\tags\\" + t.fixture).c_str(),
                            WideFromUtf8(Path(t)).c_str(), FALSE))
          << t.fixture << ": run by scripts/wine_tests.sh, which copies the fixtures";
    }
  }
  std::string Path(const NamedTrack& t) const { return MusicFile(t.path); }

  // The cell as the list view holds it, read with the wide message.
  std::string WideCell(int row, int column) const {
    wchar_t text[260] = {};
    LVITEMW item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 260;
    LRESULT n = SendDlgItemMessageW(Hit(), IDC_LIST, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                    reinterpret_cast<LPARAM>(&item));
    return Utf8FromWide(text, static_cast<size_t>(n));
  }
};

// Every track played once; then the record files, the song list of all time, its page and the
// playlist "Play" hands the player.
TEST_F(NamesTest, EveryScriptStaysADistinctSongWithItsExactNames) {
  for (const NamedTrack& t : kTracks) player->playlist.push_back({Path(t), 62});
  StartPlugin();
  Command(kPlayButton);
  player->Tick(62 * static_cast<int>(std::size(kTracks)) + 2);

  // The record files: one song each, its names and path as UTF-8.
  std::string bytes = ReadText(DataFile("gen_spinox.sng"));
  std::vector<SongRecord> songs(bytes.size() / sizeof(SongRecord));
  if (!songs.empty()) std::memcpy(songs.data(), bytes.data(), songs.size() * sizeof(SongRecord));
  Names stored, files, paths;
  for (const SongRecord& s : songs) {
    stored.push_back(FieldText(s.title) + "|" + FieldText(s.artist) + "|" + FieldText(s.album));
    files.push_back(FieldText(s.file));
  }
  for (const NamedTrack& t : kTracks) paths.push_back(Path(t));
  std::sort(stored.begin(), stored.end());
  std::sort(files.begin(), files.end());
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(stored, Expected());
  EXPECT_EQ(files, paths);
  EXPECT_EQ(SizeOf(DataFile("gen_spinox.hit")),
            static_cast<int64_t>(std::size(kTracks) * sizeof(HitRecord)));
  EXPECT_GE(SizeOf(DataFile("gen_spinox.utf8")), 0) << "the folder says its texts are UTF-8";

  // The list view: the songs of all time, read back in UTF-16.
  Command(ID_HITLIST);
  Refresh(0, 4);
  ASSERT_EQ(Headings(), (Cells{"#", "Title", "Artist", "Album", "Hits"}));
  Names shown;
  for (int r = 0; r < Rows(); ++r)
    shown.push_back(WideCell(r, 1) + "|" + WideCell(r, 2) + "|" + WideCell(r, 3));
  std::sort(shown.begin(), shown.end());
  EXPECT_EQ(shown, Expected());

  // The page.
  ListCommand(ID_GENERATEHTML);
  ASSERT_TRUE(IsWindowVisible(Html()));
  gWatched.saveAnswer = MusicFile("chart.htm");
  Press(Html(), IDOK);
  player->Pump();
  std::string page = ReadText(MusicFile("chart.htm"));
  EXPECT_NE(page.find("charset=utf-8"), std::string::npos);
  for (const NamedTrack& t : kTracks)
    for (const char* name : {t.title, t.artist, t.album})
      EXPECT_NE(page.find(std::string(">") + name + "<"), std::string::npos) << name;

  // The playlist "Play" hands over: the files by their names.
  player->playlist.clear();
  ListCommand(ID_PLAY);
  Names played;
  for (const Entry& e : player->playlist) played.push_back(e.file);
  std::sort(played.begin(), played.end());
  EXPECT_EQ(played, paths);
}

}  // namespace
}  // namespace spinox::e2e
