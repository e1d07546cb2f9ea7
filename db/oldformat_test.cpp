#include "db/oldformat.h"

#include <gtest/gtest.h>

#include "base/clock.h"
#include "db/paths.h"
#include "db/test_records.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Bytes;
using test::Join;

const char* const kRecordFiles[] = {kHitFile, kSongFile, kArtistFile, kAlbumFile};

Bytes Word(int32_t v) {
  Bytes b;
  test::PutWord(&b, static_cast<uint32_t>(v));
  return b;
}

class OldFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClockOverride(1700000000);
    hits = Join({test::HitBytes(0, 0, 0, 100), test::HitBytes(0, 0, 0, 200)});
    songs = test::SongBytes({0, 0, 0, "waterloo", "abba", "gold", "/m/w.mp3", 200});
    artists = test::ArtistBytes(0, "abba");
    albums = test::AlbumBytes(0, "gold", "abba");
  }
  // An old file: L, the skipped block, and the four sections.
  Bytes OldFile(int32_t blockLen) const {
    return Join({Word(blockLen), Bytes(static_cast<size_t>(blockLen), 0x5A), Word(2), hits, Word(1),
                 songs, Word(1), artists, Word(1), albums});
  }
  void PutCurrentDatabase() {
    for (const char* name : kRecordFiles) test::Put(name, Bytes(54 * 16, 0x11));
  }
  void ExpectCurrentDatabaseUntouched() {
    EXPECT_EQ(test::RecordFiles(), std::vector<Bytes>(4, Bytes(54 * 16, 0x11)));
  }
  test::TempDatabase db;
  Bytes hits, songs, artists, albums;
};

TEST_F(OldFormatTest, DamagedFilesAreSetAsideAndChangeNothing) {
  Bytes good = OldFile(100);
  Bytes tooLong = good;
  tooLong.push_back(0);
  Bytes negative = good;
  negative[0] = 0xFF, negative[1] = 0xFF, negative[2] = 0xFF, negative[3] = 0xFF;
  Bytes hugeCount = good;
  hugeCount[104] = 0xFF, hugeCount[105] = 0xFF, hugeCount[106] = 0xFF, hugeCount[107] = 0x0F;
  const Bytes damaged[] = {Bytes(),          Bytes{1, 0}, Bytes(good.begin(), good.end() - 1),
                           tooLong,          negative,    hugeCount,
                           Bytes(4000, 0x7F)};
  for (const Bytes& file : damaged) {
    PutCurrentDatabase();
    std::remove(db.File("gen_spinox.dat.bad").c_str());
    test::PutFile(db.File(kSettingsFile), file);
    EXPECT_EQ(BreakDownOldVersionDatFile(), OldFormatResult::kSetAside) << file.size();
    ExpectCurrentDatabaseUntouched();
    EXPECT_EQ(test::ReadBytes(db.File("gen_spinox.dat.bad")), file);
    EXPECT_FALSE(FileExists(db.File(kSettingsFile)));
  }
}

TEST_F(OldFormatTest, SetAsideNeverReplacesAnEarlierOne) {
  test::PutFile(db.File("gen_spinox.dat.bad"), Bytes{1});
  test::PutFile(db.File(kSettingsFile), Bytes{2});
  EXPECT_EQ(BreakDownOldVersionDatFile(), OldFormatResult::kSetAside);
  EXPECT_EQ(test::ReadBytes(db.File("gen_spinox.dat.bad")), Bytes{1});
  EXPECT_EQ(test::ReadBytes(db.File("gen_spinox.dat.bad.1")), Bytes{2});
}

}  // namespace
}  // namespace spinox
