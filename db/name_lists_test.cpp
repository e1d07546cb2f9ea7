#include "db/name_lists.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "db/paths.h"
#include "db/test_records.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Get;
using test::Join;
using test::Put;

class NameListsTest : public ::testing::Test {
 protected:
  void SetUp() override { test::PutArtistsAndAlbums(); }
  test::TempDatabase db;
};

TEST_F(NameListsTest, SkipDeletedRecordsAndFollowTheLiveArtist) {
  Put(kArtistFile, Join({Get(kArtistFile), test::ArtistBytes(kNoId, "gone")}));
  EXPECT_EQ(FillCBOWithArtists(), (std::vector<std::string>{"abba", "queen"}));
  EXPECT_EQ(FillCBOWithAlbums(kNoId),
            (std::vector<std::string>{"abba - gold", "ABBA - arrival", "queen - greatest hits"}));
  EXPECT_EQ(FillCBOWithAlbums(0), (std::vector<std::string>{"gold", "arrival"}));
  EXPECT_EQ(FillCBOWithAlbums(1), (std::vector<std::string>{"greatest hits"}));
  // abba merged into a later record of the same name: its albums follow the live record.
  Put(kArtistFile, Join({test::ArtistBytes(kNoId, "abba"), test::ArtistBytes(1, "queen"),
                         test::ArtistBytes(2, "Abba")}));
  EXPECT_EQ(FillCBOWithAlbums(2), (std::vector<std::string>{"gold", "arrival"}));
  EXPECT_TRUE(FillCBOWithAlbums(0).empty());
  std::remove(db.File(kArtistFile).c_str());
  EXPECT_TRUE(FillCBOWithArtists().empty());
  EXPECT_TRUE(FillCBOWithAlbums(0).empty());
}

}  // namespace
}  // namespace spinox
