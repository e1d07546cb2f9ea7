// Carrying an earlier version's database over to UTF-8: tests/data/ansi_db was written by the
// tool as it was before texts became UTF-8 (tests/data/make_ansi_db.sh).
#include "db/convert_text.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "base/clock.h"
#include "db/backup.h"
#include "db/oldformat.h"
#include "db/paths.h"
#include "db/play.h"
#include "db/test_records.h"
#include "db/text_encoding.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Bytes;
using Snapshot = std::map<std::string, Bytes>;

const char* const kDataFiles[] = {kHitFile, kSongFile, kArtistFile, kAlbumFile, kSettingsFile};

// The database files of the folder (backups and the lock file left out).
Snapshot Take() {
  Snapshot files;
  for (const auto& entry : std::filesystem::directory_iterator(DataDir())) {
    std::string name = entry.path().filename().string();
    if (name != kLockFile && entry.path().extension() != ".bak")
      files[name] = test::ReadBytes(entry.path().string());
  }
  return files;
}

void PutAnsiDatabase() {
  for (const auto& entry : std::filesystem::directory_iterator(DataDir()))
    if (entry.path().filename() != kLockFile) std::filesystem::remove(entry.path());
  for (const char* name : kDataFiles)
    test::Put(name, test::ReadBytes(test::TestDataPath(std::string("ansi_db/") + name)));
}

Bytes AnsiFixture(const char* name) {
  return test::ReadBytes(test::TestDataPath(std::string("ansi_db/") + name));
}

// An old single-file database: a skipped block, then the sections of a backup.
Bytes OldDatabase(const Bytes& backup) {
  Bytes old = {4, 0, 0, 0, 9, 9, 9, 9};
  old.insert(old.end(), backup.begin() + kBackupHeaderSize, backup.end());
  return old;
}

const std::string kMusic = "/tmp/spinox-ansi-fixture/Music/";
// "É" and 23 "é": the 49 Windows-1252 bytes of the title take 98 in UTF-8, cut to 48.
const std::string kLongTitle = "\xc3\x89" + [] {
  std::string e;
  for (int i = 0; i < 23; ++i) e += "\xc3\xa9";
  return e;
}();
const struct {
  std::string title, artist, album;
  int32_t lastPlayed;
} kSongs[] = {
    {"J\xc3\xb3ga", "Bj\xc3\xb6rk", "Homogenic", 1700004200},
    {"Eres", "Caf\xc3\xa9 Tacvba", "Cuatro Caminos", 1700000600},
    {"Largo", "Anton\xc3\xadn Dvo?\xc3\xa1k", "Symfonie ?. 9", 1700004800},
    {"Hopp\xc3\xadpolla", "Sigur R\xc3\xb3s", "Takk\xe2\x80\xa6", 1700002400},
    {kLongTitle, "Mot\xc3\xb6rhead",
     "\xe2\x82\xacuro \xe2\x80\x93 \xc3\x9cn\xc3\xaf"
     "c\xc3\xb6"
     "d\xc3\xa9",
     1700003000},
    {"Plain ASCII", "Queen", "The Works", 1700003600},
};

// The converted record files, built from the documented layouts; the hits keep their bytes.
Snapshot ConvertedRecords() {
  Bytes songs, artists, albums;
  for (uint32_t i = 0; i < 6; ++i) {
    const auto& s = kSongs[i];
    std::string file = kMusic + std::to_string(i + 1) + ".mp3";
    songs = test::Join(
        {songs, test::SongBytes({i, i, i, s.title, s.artist, s.album, file, s.lastPlayed})});
    artists = test::Join({artists, test::ArtistBytes(i, s.artist)});
    albums = test::Join({albums, test::AlbumBytes(i, s.album, s.artist)});
  }
  return {{kHitFile, AnsiFixture(kHitFile)},
          {kSongFile, songs},
          {kArtistFile, artists},
          {kAlbumFile, albums}};
}

// The settings file: its texts in UTF-8, every other byte as it was.
Bytes ConvertedSettings() {
  Bytes b = AnsiFixture(kSettingsFile);
  const struct {
    size_t offset, width;
    std::string text;
  } texts[] = {
      {96, 250, "C:\\Users\\Zo\xc3\xab\\Mes documents\\hitliste.html"},
      {2604, 250,
       "Meine Lieblingslieder \xe2\x80\x93 \xc3\x9c"
       "bersicht"},
      {2878, 250, "Trebuchet MS"},
      {3128, 250, "Segoe UI \xc3\x84"},
      {3438, 200, "%title (%hits)\n%artist \xe2\x80\x93 \xc2\xab%album\xc2\xbb"},
      {3650, 50,
       "Franklin Gothic M\xc3\xa9"
       "dium"},
      {3712, 25, "%d.%m.%Y"},
      {3737, 25, "%Hh%M\xe2\x80\x99"},
  };
  for (const auto& t : texts) {
    std::fill(b.begin() + t.offset, b.begin() + t.offset + t.width, 0);
    std::copy(t.text.begin(), t.text.end(), b.begin() + t.offset);
  }
  return b;
}

Snapshot Converted() {
  Snapshot files = ConvertedRecords();
  files[kSettingsFile] = ConvertedSettings();
  std::string marker = "spinox text utf-8\nfrom windows-1252\n";
  files[kUtf8MarkerFile] = Bytes(marker.begin(), marker.end());
  return files;
}

class ConvertText : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClockOverride(1750000000);
    PutAnsiDatabase();
  }
  void TearDown() override { ClearClockOverride(); }

  // The backup the conversion made: the old records byte for byte, header bytes 11..15 NUL.
  std::string AnsiBackup() {
    std::string path = FullPath(BackupFileName(ClockNow()));
    Bytes b = test::ReadBytes(path);
    EXPECT_EQ(b.size(), 32u + 144 + 2496 + 324 + 624);
    EXPECT_EQ(Bytes(b.begin() + 11, b.begin() + 16), Bytes(5, 0));
    return path;
  }

  test::TempDatabase db{test::Where::kMemory};
  test::TempDir elsewhere{test::Where::kMemory};
  test::ScriptedUser yes{true};
};

TEST_F(ConvertText, EveryTextIsReEncodedAndNothingElseChanges) {
  std::string backup;
  ASSERT_EQ(EnsureUtf8Database(&backup), TextConversion::kConverted) << LastIoError();
  EXPECT_EQ(StoredTextEncoding(), TextEncoding::kUtf8);
  EXPECT_TRUE(Take() == Converted());
  EXPECT_EQ(backup, AnsiBackup());
  // A second run finds the marker and changes nothing.
  EXPECT_EQ(EnsureUtf8Database(), TextConversion::kUtf8);
  EXPECT_TRUE(Take() == Converted());
  // A backup of the converted database says so, and restoring it gives the same bytes again.
  SetClockOverride(1750000600);
  std::string utf8Backup = BackupDatabase();
  Bytes header = test::ReadBytes(utf8Backup);
  EXPECT_EQ(std::string(header.begin() + 11, header.begin() + 16), "UTF-8");
  test::Put(kSongFile, {});
  ASSERT_EQ(RestoreBackupFile(utf8Backup), RestoreResult::kRestored) << LastIoError();
  EXPECT_TRUE(Take() == Converted());
}

// Each way into the new database: the conversion at start-up, restoring the earlier version's
// backup into an old folder or into a converted one, and splitting an old single-file database
// (whose settings are only the magic then).
TEST_F(ConvertText, EachWayInGivesTheSameTexts) {
  ASSERT_EQ(EnsureUtf8Database(), TextConversion::kConverted);
  Bytes ansiBackup = test::ReadBytes(AnsiBackup());
  std::string bak = elsewhere.File("old.bak");
  test::WriteBytes(bak, ansiBackup);
  Snapshot magicOnly = ConvertedRecords();
  magicOnly[kSettingsFile] = {'S', 'P', 'X', 0};
  magicOnly[kUtf8MarkerFile] = Converted()[kUtf8MarkerFile];
  const struct {
    const char* name;
    std::function<void()> before;
    std::function<bool()> run;
    Snapshot expected;
  } cases[] = {
      {"restore into an old folder", PutAnsiDatabase,
       [&] { return RestoreBackupFile(bak) == RestoreResult::kRestored; }, Converted()},
      {"restore into a converted folder",
       [] {
         PutAnsiDatabase();
         EnsureUtf8Database();
         test::Put(kSongFile, {});
       },
       [&] { return RestoreBackupFile(bak) == RestoreResult::kRestored; }, Converted()},
      {"old single-file database",
       [&] {
         PutAnsiDatabase();
         test::Put(kSettingsFile, OldDatabase(ansiBackup));
       },
       [] { return BreakDownOldVersionDatFile() == OldFormatResult::kConverted; }, magicOnly},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    c.before();
    EXPECT_TRUE(c.run()) << LastIoError();
    EXPECT_TRUE(Take() == c.expected);
  }
}

// A failure at any step (once, or from there on as on a full disk) leaves the database wholly
// old, and once it is opened again nothing is left over; only the finished change is reported
// done.
TEST_F(ConvertText, AFailureAtEveryStepLeavesTheOldDatabase) {
  ASSERT_EQ(EnsureUtf8Database(), TextConversion::kConverted);
  Bytes ansiBackup = test::ReadBytes(AnsiBackup());
  std::string bak = elsewhere.File("old.bak");
  test::WriteBytes(bak, ansiBackup);
  const struct {
    const char* name;
    std::function<bool()> run;
  } ops[] = {
      {"conversion", [] { return EnsureUtf8Database() == TextConversion::kConverted; }},
      {"restore", [&] { return RestoreBackupFile(bak) == RestoreResult::kRestored; }},
      {"old single-file database",
       [] { return BreakDownOldVersionDatFile() == OldFormatResult::kConverted; }},
  };
  for (const auto& op : ops) {
    Snapshot before;
    auto reset = [&] {
      PutAnsiDatabase();
      if (std::string(op.name) == "old single-file database")
        test::Put(kSettingsFile, OldDatabase(ansiBackup));
      before = Take();
    };
    reset();
    SetIoFault({});
    ASSERT_TRUE(op.run()) << op.name;
    int steps = IoStepCount();
    Snapshot after = Take();
    for (int at = 1; at <= steps; ++at) {
      for (bool sticky : {false, true}) {
        SCOPED_TRACE(std::string(op.name) + " failing at step " + std::to_string(at) +
                     (sticky ? " and after" : " only"));
        reset();
        SetIoFault({at, sticky, nullptr});
        bool done = op.run();
        SetIoFault({});
        std::string report;
        EXPECT_TRUE(RecoverDatabase(&report)) << LastIoError();
        EXPECT_TRUE(Take() == (done ? after : before));
        EXPECT_EQ(StoredTextEncoding(), done ? TextEncoding::kUtf8 : TextEncoding::kAnsi);
      }
    }
  }
}

// Bytes outside the text fields keep their values whatever the texts hold; a text that fills
// its field without a NUL is taken to the field's end.
TEST(ConvertRecordTexts, OnlyTheTextFieldsChange) {
  const struct {
    const char* name;
    int layout;
    size_t at, width;
    std::string ansi, utf8;
  } cases[] = {
      {"song path", 0, 162, 250, std::string(249, '\xe9'),
       [] {
         std::string s;
         for (int i = 0; i < 124; ++i) s += "\xc3\xa9";
         return s;
       }()},
      {"song title without a NUL", 0, 12, 50, std::string(50, 'a'), std::string(49, 'a')},
      {"album artist", 1, 54, 50, "\x80\x9f", "\xe2\x82\xac\xc5\xb8"},
      {"artist", 2, 4, 50, "\xa0\xff", "\xc2\xa0\xc3\xbf"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TextLayout& layout = kTextLayouts[c.layout];
    Bytes rec(layout.recSize, 0);
    for (size_t i = 0; i < rec.size(); ++i) rec[i] = static_cast<unsigned char>(i * 7 + 1);
    for (size_t s = 0; s < layout.count; ++s)
      std::fill_n(rec.begin() + layout.spans[s].offset, layout.spans[s].width, 0);
    Bytes expected = rec;
    std::copy(c.ansi.begin(), c.ansi.end(), rec.begin() + c.at);
    std::fill(expected.begin() + c.at, expected.begin() + c.at + c.width, 0);
    std::copy(c.utf8.begin(), c.utf8.end(), expected.begin() + c.at);
    ConvertRecordTexts(rec.data(), layout);
    EXPECT_EQ(rec, expected);
  }
}

// A folder without a database is marked at its first write, so that it is never taken for an
// earlier version's later; a play into an earlier version's database converts it first.
TEST(ConvertTextWriters, MarkOrConvertTheFolderFirst) {
  for (bool ansi : {false, true}) {
    test::TempDatabase db;
    std::filesystem::remove(db.File(kUtf8MarkerFile));
    if (ansi) test::Put(kArtistFile, test::ArtistBytes(0, "Bj\xf6rk"));
    SongInfo info = test::Track("Bj\xc3\xb6rk", "J\xc3\xb3ga", "Homogenic");
    ASSERT_TRUE(FillSongInfo(&info));
    ASSERT_TRUE(Hit(&info)) << LastIoError();
    EXPECT_TRUE(std::filesystem::exists(db.File(kUtf8MarkerFile)));
    EXPECT_EQ(test::Get(kArtistFile), test::ArtistBytes(0, "Bj\xc3\xb6rk"));
  }
}

// The marker decides; without it any database file means texts from an earlier version, and a
// folder without a database is new and so UTF-8.
TEST(TextEncoding, TheMarkerOrAnEmptyFolderMeansUtf8) {
  const struct {
    std::vector<const char*> files;
    TextEncoding expected;
  } cases[] = {
      {{}, TextEncoding::kUtf8},
      {{"gen_spinox.hit"}, TextEncoding::kAnsi},
      {{"gen_spinox.dat"}, TextEncoding::kAnsi},
      {{"gen_spinox.sng", "gen_spinox.utf8"}, TextEncoding::kUtf8},
      {{"gen_spinox.lck", "gen_spinox.hit.new"}, TextEncoding::kUtf8},
  };
  for (const auto& c : cases) {
    test::TempDatabase db;
    std::filesystem::remove(db.File(kUtf8MarkerFile));
    for (const char* name : c.files) test::WriteBytes(db.File(name), {});
    EXPECT_EQ(StoredTextEncoding(), c.expected) << (c.files.empty() ? "" : c.files[0]);
  }
}

TEST(TextEncoding, StoredTextIsReadInItsEncoding) {
  EXPECT_EQ(StoredTextAsUtf8("Dvo\xc5\x99\xc3\xa1k", TextEncoding::kUtf8), "Dvo\xc5\x99\xc3\xa1k");
  EXPECT_EQ(StoredTextAsUtf8("Bj\xf6rk", TextEncoding::kAnsi), "Bj\xc3\xb6rk");
  EXPECT_EQ(StoredTextAsUtf8("Bj\xf6rk", TextEncoding::kUtf8), "Bj\xef\xbf\xbdrk");
}

}  // namespace
}  // namespace spinox
