#include <gtest/gtest.h>

#include "base/text.h"
#include "tags/tag_test_util.h"
#include "tags/track_tag.h"

namespace spinox {
namespace {

using test::B;
using test::Bytes;
using test::operator+;
using test::VorbisFile;

class OggTest : public ::testing::Test {
 protected:
  TrackTag Read(const Bytes& bytes) { return test::ReadBytesTag(dir_, bytes, "track.ogg"); }
  test::TempDir dir_;
};

TEST_F(OggTest, HasOggLooksAtTheFirstThreeBytes) {
  test::WriteBytes(dir_.File("a.ogg"), B("Ogg"));
  test::WriteBytes(dir_.File("b.ogg"), B("OgX") + VorbisFile({"TITLE=x"}));
  TrackTag tag{};
  SetField(tag.file, dir_.File("a.ogg"));
  EXPECT_EQ(HasOGG(&tag), 1);
  SetField(tag.file, dir_.File("b.ogg"));
  EXPECT_EQ(HasOGG(&tag), 0);
  SetField(tag.file, dir_.File("missing.ogg"));
  EXPECT_EQ(HasOGG(&tag), 0);
}

TEST_F(OggTest, KnownCommentsFillTheFields) {
  TrackTag tag = Read(VorbisFile({"TITLE=A", "ARTIST=B", "ALBUM=C", "ALBUMARTIST=D", "DATE=2001"}));
  EXPECT_EQ(FieldText(tag.title), "A");
  EXPECT_EQ(FieldText(tag.artist), "B");
  EXPECT_EQ(FieldText(tag.album), "C");
  EXPECT_EQ(tag.tagged, 1);
}

TEST_F(OggTest, NamesAreComparedWithoutRegardToCase) {
  TrackTag tag = Read(VorbisFile({"title=lower", "Artist=Mixed", "aLbUm=Odd", "titles=no"}));
  EXPECT_EQ(FieldText(tag.title), "lower");
  EXPECT_EQ(FieldText(tag.artist), "Mixed");
  EXPECT_EQ(FieldText(tag.album), "Odd");
}

TEST_F(OggTest, ValuesAreUtf8CutTo49Bytes) {
  std::string hundred(100, 'v');
  std::string umlauts;
  for (int i = 0; i < 60; ++i) umlauts += "\xC3\xB6";  // ö
  TrackTag tag = Read(VorbisFile(
      {"TITLE=" + hundred, "ARTIST=" + umlauts, "ALBUM=Bj\xC3\xB6rk \xE2\x82\xAC \xE4\xB8\x80"}));
  EXPECT_EQ(FieldText(tag.title), std::string(49, 'v'));
  EXPECT_EQ(FieldText(tag.artist), std::string(49, '\xF6'));
  EXPECT_EQ(FieldText(tag.album), "Bj\xF6rk \x80 ?");
}

TEST_F(OggTest, LaterCommentWinsAndEmptyValueEmpties) {
  TrackTag tag = Read(VorbisFile({"TITLE=First", "TITLE=Second", "ARTIST=Gone", "ARTIST="}));
  EXPECT_EQ(FieldText(tag.title), "Second");
  EXPECT_EQ(FieldText(tag.artist), "");
}

// Pages of three segments: the comment packet, and the comments themselves, run across many
// page boundaries, and pages of another stream lie between.
TEST_F(OggTest, CommentPacketIsFollowedAcrossPages) {
  std::string longComment = "DESCRIPTION=" + std::string(2000, 'd');
  Bytes bytes = VorbisFile({longComment, "TITLE=" + std::string(300, 't'), "ARTIST=Across"}, 3);
  TrackTag tag = Read(bytes);
  EXPECT_EQ(FieldText(tag.title), std::string(49, 't'));
  EXPECT_EQ(FieldText(tag.artist), "Across");

  Bytes ident = test::OggStream({test::VorbisIdent()}, 1);
  Bytes comments = test::VorbisComments({"ALBUM=" + std::string(900, 'a'), "ARTIST=Interleaved"});
  Bytes first(comments.begin(), comments.begin() + 510);
  Bytes rest(comments.begin() + 510, comments.end());
  Bytes other = test::OggPage(2, 9, 0, {5}, B("Other"));
  Bytes rest1(rest.begin(), rest.begin() + 255), rest2(rest.begin() + 255, rest.end());
  Bytes restLacing = {255};
  for (size_t n = rest2.size();; n -= 255) {
    restLacing.push_back(static_cast<unsigned char>(n < 255 ? n : 255));
    if (n < 255) break;
  }
  bytes = ident + test::OggPage(0, 1, 1, {255, 255}, first) + other +
          test::OggPage(1, 1, 2, restLacing, rest1 + rest2);
  tag = Read(bytes);
  EXPECT_EQ(FieldText(tag.album), std::string(49, 'a'));
  EXPECT_EQ(FieldText(tag.artist), "Interleaved");
}

TEST_F(OggTest, ShortOrBrokenHeadersKeepWhatWasRead) {
  // More comments announced than present.
  Bytes packet = test::VorbisComments({"TITLE=Kept"});
  packet[7 + 4 + 11] = 50;  // comment count
  TrackTag tag = Read(test::OggStream({test::VorbisIdent(), packet}));
  EXPECT_EQ(FieldText(tag.title), "Kept");
  // A comment longer than its packet: what is there is read, then the reader stops.
  Bytes cut = test::VorbisComments({"ARTIST=Kept", "TITLE=Partial"});
  cut.resize(cut.size() - 4);
  tag = Read(test::OggStream({test::VorbisIdent(), cut, Bytes(50, 'z')}));
  EXPECT_EQ(FieldText(tag.artist), "Kept");
  EXPECT_EQ(FieldText(tag.title), "Part");
  // A vendor length past the end of the file.
  Bytes vendor = test::VorbisComments({"TITLE=Never"});
  vendor[7] = vendor[8] = vendor[9] = vendor[10] = 0xFF;
  tag = Read(test::OggStream({test::VorbisIdent(), vendor}));
  EXPECT_EQ(FieldText(tag.title), "");
  EXPECT_EQ(tag.tagged, 1);
}

TEST_F(OggTest, PacketEndsWhereItsStreamStopsContinuingIt) {
  Bytes comments =
      test::VorbisComments({"ARTIST=Seen", "DESCRIPTION=" + std::string(400, 'd'), "TITLE=Lost"});
  Bytes first(comments.begin(), comments.begin() + 255);
  Bytes ident = test::OggStream({test::VorbisIdent()}, 1);
  // The next page of the stream does not carry the continued flag: the packet ends there.
  Bytes bytes = ident + test::OggPage(0, 1, 1, {255}, first) +
                test::OggPage(0, 1, 2, {20}, B("TITLE=Wrong Packet!!"));
  TrackTag tag = Read(bytes);
  EXPECT_EQ(FieldText(tag.artist), "Seen");
  EXPECT_EQ(FieldText(tag.title), "");
}

TEST_F(OggTest, FileStartingWithOggIsTaggedWithoutComments) {
  TrackTag tag = Read(B("Ogg") + Bytes(100, 0));
  EXPECT_EQ(tag.tagged, 1);
  EXPECT_EQ(FieldText(tag.title), "");
}

TEST_F(OggTest, CommentsReplaceAnId3v1TrailerFieldByField) {
  Bytes bytes = VorbisFile({"TITLE=Vorbis Title"}) + test::Id3v1("V1 Title", "V1 Artist", "");
  TrackTag tag = Read(bytes);
  EXPECT_EQ(FieldText(tag.title), "Vorbis Title");
  EXPECT_EQ(FieldText(tag.artist), "V1 Artist");
}

}  // namespace
}  // namespace spinox
