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

// Names match without regard to case and only whole; a later comment wins, an empty one empties.
TEST_F(OggTest, KnownCommentsFillTheFields) {
  TrackTag tag = Read(VorbisFile({"title=A", "Artist=B", "aLbUm=C", "titles=no", "DATE=2001",
                                  "album=Later", "ALBUMARTIST=D", "ARTIST="}));
  EXPECT_EQ(FieldText(tag.title), "A");
  EXPECT_EQ(FieldText(tag.artist), "");
  EXPECT_EQ(FieldText(tag.album), "Later");
  EXPECT_EQ(tag.tagged, 1);
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

TEST_F(OggTest, ShortOrBrokenHeadersKeepTheirWholeComments) {
  // More comments announced than present.
  Bytes packet = test::VorbisComments({"TITLE=Kept"});
  packet[7 + 4 + 11] = 50;  // comment count
  TrackTag tag = Read(test::OggStream({test::VorbisIdent(), packet}));
  EXPECT_EQ(FieldText(tag.title), "Kept");
  // A comment longer than its packet is dropped, not read in part; the reader stops there.
  Bytes cut = test::VorbisComments({"ARTIST=Kept", "TITLE=Partial"});
  cut.resize(cut.size() - 4);
  tag = Read(test::OggStream({test::VorbisIdent(), cut, Bytes(50, 'z')}));
  EXPECT_EQ(FieldText(tag.artist), "Kept");
  EXPECT_EQ(FieldText(tag.title), "track.ogg");
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
  EXPECT_EQ(FieldText(tag.title), "track.ogg");
}

struct OggCase {
  const char* name;
  Bytes file;
  const char* title;
  int tagged;
};

// Every kind of stream that carries comments reads them; a stream without a comment header, or
// a file cut short before its comments, is untagged and titled by its name.
TEST_F(OggTest, CommentHeadersOfEveryStreamKind) {
  using test::FlacBlock;
  using test::FlacComments;
  using test::FlacOggFile;
  Bytes vorbis = test::VorbisFile({"TITLE=Vorbis"});
  Bytes vendor = test::VorbisComments({"TITLE=Never"});
  vendor[7] = vendor[8] = vendor[9] = vendor[10] = 0xFF;
  Bytes theora = test::OggStream(
      {Bytes{0x80} + B("theora") + Bytes(35, 0), Bytes{0x81} + B("theora") + Bytes(20, 0)}, 5);
  Bytes speex = test::OggStream({B("Speex   ") + Bytes(72, 0), Bytes(40, 0x20)});
  const OggCase cases[] = {
      {"Opus", test::OpusFile({"title=Opus Song", "ARTIST=x"}), "Opus Song", 1},
      {"FLAC, comments first", FlacOggFile({FlacComments({"TITLE=Flac Song"})}), "Flac Song", 1},
      {"FLAC, comments behind other blocks",
       FlacOggFile({FlacBlock(3, Bytes(18, 0)), FlacBlock(2, Bytes(300, 0x84)),
                    FlacComments({"TITLE=Later Block"}), FlacBlock(0x81, Bytes(10, 0))}),
       "Later Block", 1},
      {"FLAC without comments", FlacOggFile({FlacBlock(0x81, Bytes(10, 0x04))}), "track.ogg", 0},
      {"FLAC comments behind the last block",
       FlacOggFile({FlacBlock(0x81, Bytes(10, 0)), FlacComments({"TITLE=Too Late"})}), "track.ogg",
       0},
      {"Vorbis behind a Theora stream", theora + vorbis, "Vorbis", 1},
      {"Theora alone", theora, "track.ogg", 0},
      {"Speex", speex, "track.ogg", 0},
      {"Ogg and nothing more", B("Ogg") + Bytes(100, 0), "track.ogg", 0},
      {"cut behind the first page", Bytes(vorbis.begin(), vorbis.begin() + 58 + 30), "track.ogg",
       0},
      {"cut inside the vendor", Bytes(vorbis.begin(), vorbis.begin() + 58 + 45), "track.ogg", 0},
      {"vendor length past the file", test::OggStream({test::VorbisIdent(), vendor}), "track.ogg",
       0},
  };
  for (const OggCase& c : cases) {
    SCOPED_TRACE(c.name);
    TrackTag tag = Read(c.file);
    EXPECT_EQ(FieldText(tag.title), c.title);
    EXPECT_EQ(tag.tagged, c.tagged);
  }
}

TEST_F(OggTest, CommentsReplaceAnId3v1TrailerFieldByField) {
  Bytes bytes = VorbisFile({"TITLE=Vorbis Title"}) + test::Id3v1("V1 Title", "V1 Artist", "");
  TrackTag tag = Read(bytes);
  EXPECT_EQ(FieldText(tag.title), "Vorbis Title");
  EXPECT_EQ(FieldText(tag.artist), "V1 Artist");
}

}  // namespace
}  // namespace spinox
