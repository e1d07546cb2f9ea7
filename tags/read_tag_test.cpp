#include <gtest/gtest.h>

#include <cstring>

#include "base/text.h"
#include "tags/tag_test_util.h"
#include "tags/track_tag.h"

namespace spinox {
namespace {

using test::Bytes;
using test::operator+;

class ReadTagTest : public ::testing::Test {
 protected:
  TrackTag ReadPath(const std::string& path) {
    TrackTag tag{};
    SetField(tag.file, path);
    ReadTag(&tag);
    return tag;
  }
  test::TempDir dir_;
};

TEST_F(ReadTagTest, UntaggedFileIsTitledByItsName) {
  test::WriteBytes(dir_.File("Some Song.mp3"), test::Audio(2000));
  TrackTag tag = ReadPath(dir_.File("Some Song.mp3"));
  EXPECT_EQ(FieldText(tag.title), "Some Song.mp3");
  EXPECT_EQ(FieldText(tag.artist), "");
  EXPECT_EQ(FieldText(tag.album), "");
  EXPECT_EQ(tag.tagged, 0);
}

TEST_F(ReadTagTest, FileThatCannotBeOpenedIsTitledByItsName) {
  TrackTag tag = ReadPath("C:\\Music\\Some Song.mp3");
  EXPECT_EQ(FieldText(tag.title), "Some Song.mp3");
  EXPECT_EQ(tag.tagged, 0);
  EXPECT_EQ(ReadTag(&tag), 0);
  tag = ReadPath(dir_.File("gone/Other Song.ogg"));
  EXPECT_EQ(FieldText(tag.title), "Other Song.ogg");
  std::string name = "stream-address-without-any-separator-that-runs-on-and-on";
  EXPECT_EQ(FieldText(ReadPath(name).title), name.substr(0, 49));
}

TEST_F(ReadTagTest, Utf8FileNameBecomesAnsiTitle) {
  TrackTag tag = ReadPath("/music/Caf\xC3\xA9 \xE2\x80\x93 \xC5\x99.mp3");
  EXPECT_EQ(FieldText(tag.title), "Caf\xE9 \x96 ?.mp3");
  tag = ReadPath("/music/Latin1 \xE9.mp3");  // not UTF-8: kept as its bytes
  EXPECT_EQ(FieldText(tag.title), "Latin1 \xE9.mp3");
}

TEST_F(ReadTagTest, EmptyFileFieldGivesNothing) {
  TrackTag tag{};
  SetField(tag.title, "stale");
  tag.tagged = 1;
  EXPECT_EQ(ReadTag(&tag), 0);
  EXPECT_EQ(FieldText(tag.title), "");
  EXPECT_EQ(tag.tagged, 0);
}

// Tags that name nothing, or no title, must not turn many files into one song without a name.
TEST_F(ReadTagTest, TagsWithoutTitleAreTitledByTheFileName) {
  Bytes comment = test::Id3Frame(3, "COMM", Bytes{0} + test::B("eng") + Bytes{0} + test::B("hi"));
  struct Case {
    const char* name;
    Bytes bytes;
    int tagged;
    const char* artist;
  } cases[] = {
      {"comment only.mp3", test::Id3Tag(3, 0, comment, 20) + test::Audio(500), 0, ""},
      {"artist only.mp3",
       test::Id3Tag(3, 0, test::Id3Text(3, "TPE1", "Someone"), 0) + test::Audio(500), 1, "Someone"},
      {"blank title.mp3",
       test::Id3Tag(3, 0, test::Id3Text(3, "TIT2", "  ") + test::Id3Text(3, "TPE1", "Band"), 0) +
           test::Audio(500),
       1, "Band"},
  };
  for (const Case& c : cases) {
    test::WriteBytes(dir_.File(c.name), c.bytes);
    TrackTag tag = ReadPath(dir_.File(c.name));
    EXPECT_EQ(FieldText(tag.title), c.name);
    EXPECT_EQ(tag.tagged, c.tagged) << c.name;
    EXPECT_EQ(FieldText(tag.artist), c.artist) << c.name;
  }
}

TEST_F(ReadTagTest, TrailingBlanksGoFromEveryTag) {
  Bytes v2 = test::Id3Tag(4, 0,
                          test::Id3Text(4, "TIT2", "Title \t") +
                              test::Id3Frame(4, "TPE1", Bytes{3} + test::B("Art\xC3\xAB\n ")));
  TrackTag tag = test::ReadBytesTag(dir_, v2 + test::Id3v1("", "", "Album", ' '));
  EXPECT_EQ(FieldText(tag.title), "Title");
  EXPECT_EQ(FieldText(tag.artist), "Art\xEB");
  EXPECT_EQ(FieldText(tag.album), "Album");
  tag = test::ReadBytesTag(dir_, test::VorbisFile({"TITLE=Vorbis  "}), "v.ogg");
  EXPECT_EQ(FieldText(tag.title), "Vorbis");
}

TEST_F(ReadTagTest, EachReadStartsAfresh) {
  TrackTag tag{};
  test::WriteBytes(dir_.File("a.mp3"), test::Id3Tag(4, 0, test::Id3Text(4, "TPE1", "A"), 50));
  test::WriteBytes(dir_.File("b.mp3"), test::Audio(300));
  SetField(tag.file, dir_.File("a.mp3"));
  ReadTag(&tag);
  EXPECT_EQ(tag.id3Version, 4);
  EXPECT_EQ(tag.id3End, 72);
  SetField(tag.file, dir_.File("b.mp3"));
  EXPECT_EQ(ReadTag(&tag), 0);
  EXPECT_EQ(tag.id3Version, 0);
  EXPECT_EQ(tag.id3End, 0);
  EXPECT_EQ(FieldText(tag.artist), "");
  EXPECT_EQ(FieldText(tag.title), "b.mp3");
}

}  // namespace
}  // namespace spinox
