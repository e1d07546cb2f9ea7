// Names in every script through the tool: stored as typed, printed as UTF-8 whichever encoding
// the folder's files are in, and laid out in the columns a terminal gives them.
#include "tool/text_out.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "db/paths.h"
#include "db/test_records.h"
#include "db/text_encoding.h"
#include "settings/settings.h"
#include "tests/test_util.h"
#include "tool/cli_test_util.h"

namespace spinox::cli {
namespace {

using spinox::test::Bytes;
using test::Contains;
using test::RunCli;

// One song by `artist` on `album`, played twice, with its texts stored as these bytes; the
// marker file when `utf8`. The settings file's font name and display template are `font`.
void PutDatabase(const spinox::test::TempDatabase& db, bool utf8, const std::string& title,
                 const std::string& artist, const std::string& album, const std::string& font) {
  using namespace spinox::test;
  PutFile(db.File(kArtistFile), ArtistBytes(0, artist));
  PutFile(db.File(kAlbumFile), AlbumBytes(0, album, artist));
  PutFile(db.File(kSongFile), SongBytes({0, 0, 0, title, artist, album, "/m/" + title, 900}));
  PutFile(db.File(kHitFile), Join({HitBytes(0, 0, 0, 800), HitBytes(0, 0, 0, 900)}));
  Settings settings = DefaultSettings();
  CopyText(settings._txt_font, sizeof settings._txt_font, font.c_str());
  CopyText(settings._txt_text, sizeof settings._txt_text, font.c_str());
  ASSERT_TRUE(WriteSettingsFile(db.File(kSettingsFile), settings));
  // A test database starts marked UTF-8; an earlier version's has no marker.
  if (!utf8) std::remove(db.File(kUtf8MarkerFile).c_str());
}

// Readers never convert: a folder without the marker holds an earlier version's ANSI texts
// (Windows-1252 here), one with it UTF-8, and both print the same characters. Names typed on
// the command line are stored as UTF-8 and find the stored names; in a folder not yet converted
// a filter is compared in the ANSI code page the names are stored in, and one the code page
// cannot hold finds nothing (not the name its '?' would spell).
TEST(ToolText, NamesAreShownStoredAndFoundAsTyped) {
  const struct {
    bool utf8;
    std::string stored, shown;
    std::string typed = "";  // edited to (in a UTF-8 folder), then the --artist filter
    int filterCode = kOk;
  } kCases[] = {
      {true, "東京事変", "東京事変", "椎名林檎"},
      {true, "😀 Band", "😀 Band", "Μίκης Θεοδωράκης"},
      {true, "Bad\xFF\xC3", "Bad\xEF\xBF\xBD\xEF\xBF\xBD"},  // malformed: U+FFFD each
      {false,
       "M\xF6tley Cr\xFC"
       "e",
       "Mötley Crüe", "Mötley Crüe"},
      {false, "\x80uro \x93Hits\x94", "€uro “Hits”"},
      {false, "????", "????", "椎名林檎", kFailed},
  };
  for (const auto& c : kCases) {
    spinox::test::TempDatabase db;
    PutDatabase(db, c.utf8, c.stored + " T", c.stored, c.stored + " A", c.stored + " F");
    const std::string d = db.path();
    spinox::test::WriteBytes(db.File("x.mp3"), Bytes(300, 1));
    const struct {
      std::vector<std::string> args;
      std::string says;
    } kRuns[] = {
        {{"dump", "artists"}, "0\tid=0\tname=" + c.shown + "\n"},
        {{"dump", "songs", "--json"},
         "\"title\": \"" + c.shown + " T\", \"artist\": \"" + c.shown + "\", \"album\": \"" +
             c.shown + " A\""},
        {{"dump", "songs"}, "\tfile=/m/" + c.shown + " T\t"},
        {{"chart", "--period", "all", "--format", "csv"},
         "1," + c.shown + " T," + c.shown + "," + c.shown + " A,2\n"},
        {{"chart", "--type", "artists", "--period", "all", "--format", "json"},
         "[\"1\", \"" + c.shown + "\", \"2\"]"},
        {{"settings"}, "\n_txt_font        " + c.shown + " F\n"},
        {{"settings", "--json"}, "\"_txt_font\": \"" + c.shown + " F\","},
        {{"osd", db.File("x.mp3")}, c.shown + " F\n"},
    };
    for (const auto& run : kRuns) {
      std::vector<std::string> args = run.args;
      args.insert(args.begin() + 1, {"--db", d});
      test::CliRun r = RunCli(args);
      EXPECT_EQ(r.code, kOk) << r.err;
      EXPECT_TRUE(Contains(r.out, run.says)) << c.shown << " " << run.args[0] << "\n" << r.out;
    }
    if (c.typed.empty()) continue;
    if (c.utf8) {
      test::CliRun r = RunCli({"edit", "--db", d, "artist", "0", "--name", c.typed});
      ASSERT_EQ(r.code, kOk) << r.err;
      EXPECT_EQ(spinox::test::ReadBytes(db.File(kArtistFile)),
                spinox::test::ArtistBytes(0, c.typed));
    }
    test::CliRun r =
        RunCli({"chart", "--db", d, "--period", "all", "--artist", c.typed, "--format", "csv"});
    EXPECT_EQ(r.code, c.filterCode) << c.typed << ": " << r.err;
    EXPECT_TRUE(c.filterCode == kOk
                    ? Contains(r.out, "1," + c.shown + " T," + c.typed + "," + c.shown + " A,2\n")
                    : Contains(r.err, "no artist '" + c.typed + "' in"))
        << r.out << r.err;
  }
  spinox::test::TempDatabase db;
  PutDatabase(db, true, "t", "r", "a", "f");
  test::RunSteps({
      {{"edit", "--db", db.path(), "artist", "0", "--name", "\xFFok"}, kOk, "result 3"},
      {{"dump", "--db", db.path(), "artists"}, kOk, "name=\xEF\xBF\xBDok\n"},
  });
}

// A playlist keeps every path: .m3u8 in UTF-8; .m3u in the ANSI code page, and a path the code
// page cannot hold (no short names here) left in UTF-8 with a note that says so.
TEST(ToolText, PlaylistsKeepEveryPathAndSayWhatTheyCannotExpress) {
  const struct {
    std::string stored, out, written, err;
  } kCases[] = {
      {"Bj\xC3\xB6rk", "x.m3u8", "/m/Bj\xC3\xB6rk T\r\n", ""},
      {"Bj\xC3\xB6rk", "x.m3u", "/m/Bj\xF6rk T\r\n", ""},
      {"東京事変", "x.m3u8", "/m/東京事変 T\r\n", ""},
      {"東京事変", "x.m3u", "/m/東京事変 T\r\n", "1 path cannot be written in the ANSI code page"},
  };
  for (const auto& c : kCases) {
    spinox::test::TempDatabase db;
    PutDatabase(db, true, c.stored + " T", c.stored, "A", "F");
    test::CliRun r = RunCli({"m3u", "--db", db.path(), "--period", "all", "-o", db.File(c.out)});
    EXPECT_EQ(r.code, kOk) << r.err;
    EXPECT_EQ(spinox::test::ReadText(db.File(c.out)), c.written) << c.out;
    EXPECT_EQ(r.err.empty(), c.err.empty()) << r.err;
    EXPECT_TRUE(Contains(r.err, c.err)) << r.err;
  }
}

// JSON output stays well-formed UTF-8 whatever bytes a path, a folder name or a tag holds: a
// byte that is not UTF-8 is shown as U+FFFD. A track whose path is not UTF-8 is never stored
// (check would then find the song file faulty).
TEST(ToolText, PathsThatAreNotUtf8) {
  spinox::test::TempDir dir;
  const std::string d = dir.File("db\xFF");
  const std::string track = dir.File("t\xFE.mp3");
  ASSERT_TRUE(std::filesystem::create_directory(d));
  ASSERT_EQ(test::PlayUntagged(d, dir.File("ok.mp3"), 1000), kOk);
  spinox::test::WriteBytes(track, Bytes(300, 1));
  const struct {
    std::vector<std::string> args;
    int code;
    std::string says;
  } kRuns[] = {
      {{"check", "--db", d, "--json"}, kOk, "db\xEF\xBF\xBD\""},
      {{"tags", "--json", track}, kOk, "\"t\xEF\xBF\xBD.mp3\", \"artist\""},
      {{"play", "--db", d, track}, kFailed, "path is not UTF-8: " + dir.File("t\xEF\xBF\xBD.mp3")},
      {{"info", "--db", d, track}, kFailed, "path is not UTF-8"},
      {{"check", "--db", d}, kOk, "1 plays\ntexts: UTF-8\nno problems found"},
  };
  for (const auto& run : kRuns) {
    test::CliRun r = RunCli(run.args);
    EXPECT_EQ(r.code, run.code) << run.args[0] << "\n" << r.err;
    bool json = std::count(run.args.begin(), run.args.end(), "--json") > 0;
    EXPECT_TRUE(!json || IsUtf8(r.out.data(), r.out.size())) << run.args[0] << "\n" << r.out;
    EXPECT_TRUE(Contains(r.out + r.err, run.says)) << run.args[0] << "\n" << r.out << r.err;
  }
}

TEST(ToolText, TerminalTextAndColumns) {
  const struct {
    std::string text, shown;
    size_t columns;
  } kCases[] = {
      {"Dvořák", "Dvořák", 6},
      {"群青日和", "群青日和", 8},
      {"봄날", "봄날", 4},
      {"ｶﾀｶﾅ and ＡＢ", "ｶﾀｶﾅ and ＡＢ", 13},
      {"🎵 Emoji", "🎵 Emoji", 8},
      {"e\xCC\x81t\xC3\xA9", "e\xCC\x81t\xC3\xA9", 3},  // e + combining acute, t, é
      {"a\x1b[2J\tb\x7f", "a\\x1B[2J\\x09b\\x7F", 17},
      {"c1 \xC2\x85 \xC2\xA0", "c1 \\x85 \xC2\xA0", 9},
      {"bad \xE6\x97", "bad \xEF\xBF\xBD\xEF\xBF\xBD", 6},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(TerminalText(c.text), c.shown) << c.text;
    EXPECT_EQ(ColumnWidth(TerminalText(c.text)), c.columns) << c.text;
  }
}

// A text chart pads by the columns a terminal gives each name, so the columns line up.
TEST(ToolText, ChartColumnsLineUpInEveryScript) {
  spinox::test::TempDatabase db;
  using namespace spinox::test;
  const std::vector<std::pair<std::string, std::string>> kSongs = {
      {"群青日和", "東京事変"}, {"Largo", "Antonín Dvořák"}, {"봄날", "방탄소년단"}};
  Bytes songs, hits;
  for (uint32_t i = 0; i < kSongs.size(); ++i) {
    songs = Join({songs, SongBytes({i, 0, 0, kSongs[i].first, kSongs[i].second, "B", "/f", 9})});
    for (uint32_t k = 0; k <= 2 - i; ++k) hits = Join({hits, HitBytes(i, 0, 0, 900)});
  }
  PutFile(db.File(kArtistFile), ArtistBytes(0, "x"));
  PutFile(db.File(kAlbumFile), AlbumBytes(0, "B", "x"));
  PutFile(db.File(kSongFile), songs);
  PutFile(db.File(kHitFile), hits);
  PutFile(db.File(kUtf8MarkerFile), {});
  test::CliRun r = RunCli({"chart", "--db", db.path(), "--period", "all"});
  ASSERT_EQ(r.code, kOk) << r.err;
  EXPECT_TRUE(Contains(r.out,
                       "#  Title     Artist          Album  Hits\n"
                       "1  群青日和  東京事変        B         3\n"
                       "2  Largo     Antonín Dvořák  B         2\n"
                       "3  봄날      방탄소년단      B         1\n"))
      << r.out;
}

}  // namespace
}  // namespace spinox::cli
