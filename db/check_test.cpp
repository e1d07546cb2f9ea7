#include "db/check.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "db/paths.h"
#include "db/repair.h"
#include "db/test_records.h"
#include "fuzz/check_driver.h"
#include "fuzz/records_driver.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Bytes;
using P = CheckProblem;
constexpr uint32_t kNo = 0xFFFFFFFF;

// The record files of a database, one Bytes per record.
struct Db {
  std::vector<Bytes> artists = {test::ArtistBytes(0, "a1"), test::ArtistBytes(1, "a2")};
  std::vector<Bytes> albums = {test::AlbumBytes(0, "x", "a1"), test::AlbumBytes(1, "y", "a2")};
  std::vector<Bytes> songs = {Song(0, 0, 0, "s1", "a1", "x"), Song(1, 1, 1, "s2", "A2", "Y")};
  std::vector<Bytes> hits = {test::HitBytes(0, 0, 0, 100), test::HitBytes(1, 1, 1, 200),
                             test::HitBytes(0, 0, 0, 300)};
  std::map<std::string, Bytes> tails;  // bytes after the whole records, by file
  std::map<std::string, Bytes> extra;  // other files of the folder

  static Bytes Song(uint32_t id, uint32_t artist, uint32_t album, const char* title,
                    const char* artistName, const char* albumName) {
    return test::SongBytes({id, artist, album, title, artistName, albumName, "/m/s.mp3", 1});
  }
  void Write() const {
    Put(kArtistFile, artists), Put(kAlbumFile, albums), Put(kSongFile, songs), Put(kHitFile, hits);
    for (const auto& [name, bytes] : extra) test::PutFile(FullPath(name), bytes);
  }
  void Put(const char* name, const std::vector<Bytes>& records) const {
    auto tail = tails.find(name);
    test::Put(name, test::Join({Joined(records), tail != tails.end() ? tail->second : Bytes()}));
  }
  static Bytes Joined(const std::vector<Bytes>& records) {
    Bytes all;
    for (const Bytes& r : records) all = test::Join({all, r});
    return all;
  }
};

using Counts = std::map<P, int64_t>;

Counts CountsOf(const CheckReport& r) {
  Counts c;
  for (int kind = 0; kind < kCheckProblemKinds; ++kind)
    if (r.count[kind]) c[static_cast<P>(kind)] = r.count[kind];
  return c;
}

// The bytes of the record files and the other files the case made.
std::map<std::string, Bytes> Snapshot(const Db& db) {
  std::map<std::string, Bytes> files;
  for (const char* name : {kArtistFile, kAlbumFile, kSongFile, kHitFile})
    files[name] = test::ReadBytes(FullPath(name));
  for (const auto& extra : db.extra) files[extra.first] = test::ReadBytes(FullPath(extra.first));
  return files;
}

struct Case {
  const char* what;
  std::function<void(Db&)> damage;
  Counts found;        // what the check finds
  Counts afterRepair;  // what it finds after --repair
};

// clang-format off
const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"sound", [](Db&) {}, {}, {}},
      {"torn tails", [](Db& d) { d.tails[kHitFile] = {1, 2, 3}; d.tails[kSongFile] = Bytes(415, 9); d.tails[kArtistFile] = {7}; }, {{P::kTornTail, 3}}, {}},
      {"own id", [](Db& d) { d.songs[1] = Db::Song(5, 1, 1, "s2", "a2", "y"); }, {{P::kBadOwnId, 1}}, {{P::kBadOwnId, 1}}},
      {"song's artist past the end", [](Db& d) { d.songs[1] = Db::Song(1, 2, 1, "s2", "a2", "y"); }, {{P::kIdOutOfRange, 1}, {P::kIdsDiffer, 1}}, {{P::kIdOutOfRange, 1}, {P::kIdsDiffer, 1}}},
      {"play's song past the end", [](Db& d) { d.hits[2] = test::HitBytes(2, 0, 0, 300); }, {{P::kIdOutOfRange, 1}}, {{P::kIdOutOfRange, 1}}},
      {"play's album past the end", [](Db& d) { d.hits[2] = test::HitBytes(0, 0, 9, 300); }, {{P::kIdOutOfRange, 1}}, {{P::kIdOutOfRange, 1}}},
      {"play's ids not its song's", [](Db& d) { d.hits[0] = test::HitBytes(0, 1, 1, 100); }, {{P::kIdsDiffer, 1}}, {{P::kIdsDiffer, 1}}},
      {"deleted play naming an artist", [](Db& d) { d.hits[0] = test::HitBytes(kNo, 0, kNo, 100); }, {{P::kDeletedMark, 1}}, {{P::kDeletedMark, 1}}},
      {"removed song and its plays", [](Db& d) { d.songs[0] = Db::Song(kNo, kNo, kNo, "s1", "a1", "x"); d.hits[0] = test::HitBytes(kNo, kNo, kNo, 100); d.hits[2] = test::HitBytes(kNo, kNo, kNo, 300); }, {}, {}},
      {"aliases of songs, one of them removed", [](Db& d) { d.songs[1] = Db::Song(kNo, kNo, kNo, "s2", "A2", "Y"); d.hits = {test::HitBytes(0, 0, 0, 100)}; d.songs.push_back(Db::Song(kNo, kAliasMark, 0, "old s1", "a1", "x")); d.songs.push_back(Db::Song(kNo, kAliasMark, 1, "old s2", "a2", "y")); }, {}, {}},
      {"alias of a song past the end", [](Db& d) { d.songs.push_back(Db::Song(kNo, kAliasMark, 3, "old s1", "a1", "x")); }, {{P::kIdOutOfRange, 1}}, {{P::kIdOutOfRange, 1}}},
      {"play of a deleted song", [](Db& d) { d.songs[0] = Db::Song(kNo, kNo, kNo, "s1", "a1", "x"); }, {{P::kDeletedMark, 2}}, {{P::kDeletedMark, 2}}},
      {"song of a deleted album", [](Db& d) { d.albums[1] = test::AlbumBytes(kNo, "y", "a2"); }, {{P::kDeletedMark, 1}}, {{P::kDeletedMark, 1}}},
      {"song's artist of another name", [](Db& d) { d.songs[1] = Db::Song(1, 1, 1, "s2", "a3", "y"); }, {{P::kNameMismatch, 2}}, {{P::kNameMismatch, 2}}},
      {"times backwards", [](Db& d) { d.hits[1] = test::HitBytes(1, 1, 1, 99); }, {{P::kTimeBackwards, 1}}, {{P::kTimeBackwards, 1}}},
      {"ids missing from a song and its plays", [](Db& d) { d.songs[1] = Db::Song(1, kNo, kNo, "s2", "a2", "y"); d.hits[1] = test::HitBytes(1, kNo, kNo, 200); }, {{P::kMissingIds, 2}}, {}},
      {"ids missing from a play only", [](Db& d) { d.hits[2] = test::HitBytes(0, 0, kNo, 300); }, {{P::kMissingIds, 1}}, {}},
      // The hit file was switched in, the old one kept aside; the journal still names it.
      {"a change cut short", [](Db& d) { d.extra["gen_spinox.hit.old"] = test::Join({d.hits[0], d.hits[1], d.hits[2]}); d.hits[1] = test::HitBytes(1, 1, 1, 50); std::string journal = "spinox journal 1\ngen_spinox.hit 1\nend\n"; d.extra["gen_spinox.jnl"] = Bytes(journal.begin(), journal.end()); }, {{P::kUnfinishedChange, 1}, {P::kTimeBackwards, 1}}, {}},
      {"names that find two artists: no guess", [](Db& d) { d.artists.push_back(test::ArtistBytes(2, "A2")); d.songs[1] = Db::Song(1, kNo, 1, "s2", "a2", "y"); d.hits[1] = test::HitBytes(1, kNo, 1, 200); }, {}, {}},
      {"names that find a deleted artist only: no guess", [](Db& d) { d.artists[1] = test::ArtistBytes(kNo, "a2"); d.songs[1] = Db::Song(1, kNo, 1, "s2", "a2", "y"); d.hits[1] = test::HitBytes(1, kNo, 1, 200); }, {}, {}},
  };
  return cases;
}
// clang-format on

TEST(CheckDatabase, FindsWhatIsWrongAndRepairsOnlyWhatIsDetermined) {
  for (const Case& c : Cases()) {
    test::TempDatabase dir;
    Db db;
    c.damage(db);
    db.Write();
    std::map<std::string, Bytes> files = Snapshot(db);
    CheckReport found = CheckDatabase();
    EXPECT_EQ(Snapshot(db), files) << c.what << ": the check changed a file";
    EXPECT_EQ(CountsOf(found), c.found) << c.what;
    EXPECT_EQ(found.Clean(), c.found.empty()) << c.what;
    EXPECT_EQ(found.hits, static_cast<int64_t>(db.hits.size())) << c.what;
    RepairReport repair = RepairDatabase();
    EXPECT_TRUE(repair.failed.empty()) << c.what;
    EXPECT_EQ(repair.done.empty(), c.found == c.afterRepair) << c.what;
    EXPECT_EQ(CountsOf(CheckDatabase()), c.afterRepair) << c.what;
  }
}

TEST(CheckDatabase, RepairFillsTheIdsTheNamesFind) {
  test::TempDatabase dir;
  Db db;
  db.songs[1] = Db::Song(1, kNo, kNo, "s2", "a2", "y");
  db.hits[1] = test::HitBytes(1, kNo, kNo, 200);
  db.tails[kHitFile] = {1, 2};
  db.Write();
  RepairReport repair = RepairDatabase();
  EXPECT_EQ(repair.done.size(), 3u);
  db.songs[1] = Db::Song(1, 1, 1, "s2", "a2", "y");
  db.hits[1] = test::HitBytes(1, 1, 1, 200);
  EXPECT_EQ(test::Get(kSongFile), Db::Joined(db.songs));
  EXPECT_EQ(test::Get(kHitFile), Db::Joined(db.hits));
}

TEST(CheckDatabase, AFolderWhereARecordFileBelongs) {
  test::TempDatabase dir;
  Db().Write();
  std::remove(dir.File(kHitFile).c_str());
  ASSERT_EQ(mkdir(dir.File(kHitFile).c_str(), 0755), 0);
  CheckReport found = CheckDatabase();
  EXPECT_EQ(CountsOf(found), (Counts{{P::kNotRegular, 1}}));
  EXPECT_TRUE(RepairDatabase().done.empty());
}

// Inputs that once broke the rules of the fuzz targets of the check (fuzz/check_fuzz.cpp) or of
// the record-file readers (fuzz/records_fuzz.cpp); the drivers trap when one does.
TEST(CheckDatabase, SavedFuzzInputsKeepTheRules) {
  using Driver = void (*)(const uint8_t*, size_t, const std::string&);
  const std::pair<const char*, Driver> drivers[] = {{"check-", fuzz::RunCheckInput},
                                                    {"records-", fuzz::RunRecordsInput}};
  for (auto [prefix, run] : drivers) {
    int replayed = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(test::TestDataPath("fuzz-regressions"))) {
      if (entry.path().filename().string().rfind(prefix, 0) != 0) continue;
      SCOPED_TRACE(entry.path().string());
      Bytes input = test::ReadBytes(entry.path().string());
      test::TempDatabase dir;  // restores the clock a driver may set
      std::filesystem::create_directory(dir.File("db"));
      run(input.data(), input.size(), dir.File("db"));
      ++replayed;
    }
    EXPECT_GT(replayed, 0) << prefix;
  }
}

TEST(CheckDatabase, NoFilesNoDatabase) {
  test::TempDatabase dir;
  EXPECT_FALSE(CheckDatabase().anyFile);
  EXPECT_TRUE(CheckDatabase().Clean());
}

}  // namespace
}  // namespace spinox
