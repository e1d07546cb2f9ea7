#include "tags/ogg.h"

#include <gtest/gtest.h>

#include "tags/tag_test_util.h"

namespace spinox {
namespace {

using namespace test;  // NOLINT: the byte builders

// Pages of three segments: the comment packet and the comments themselves run across many page
// boundaries.
Bytes SmallPages() {
  return VorbisFile(
      {"DESCRIPTION=" + std::string(2000, 'd'), "TITLE=" + std::string(300, 't'), "ARTIST=Across"},
      3);
}

// The comment packet runs on across a page of another stream.
Bytes Interleaved() {
  Bytes comments = VorbisComments({"ALBUM=" + std::string(900, 'a'), "ARTIST=Interleaved"});
  Bytes first(comments.begin(), comments.begin() + 510),
      rest(comments.begin() + 510, comments.end());
  Bytes lacing;
  for (size_t n = rest.size();; n -= 255) {
    lacing.push_back(static_cast<unsigned char>(std::min<size_t>(n, 255)));
    if (n < 255) break;
  }
  return OggStream({VorbisIdent()}) + OggPage(0, 1, 1, {255, 255}, first) +
         OggPage(2, 9, 0, {5}, B("Other")) + OggPage(1, 1, 2, lacing, rest);
}

// The next page of the stream does not carry the continued flag: the packet ends before it.
Bytes NotContinued() {
  Bytes comments =
      VorbisComments({"ARTIST=Seen", "DESCRIPTION=" + std::string(400, 'd'), "TITLE=X"});
  return OggStream({VorbisIdent()}) +
         OggPage(0, 1, 1, {255}, Bytes(comments.begin(), comments.begin() + 255)) +
         OggPage(0, 1, 2, {20}, B("TITLE=Wrong Packet!!"));
}

TEST(Ogg, CommentsReadAsAListenerExpects) {
  Bytes vorbis = VorbisFile({"TITLE=Vorbis"});
  Bytes vendor = VorbisComments({"TITLE=Never"}), more = VorbisComments({"TITLE=Kept"});
  vendor[7] = vendor[8] = vendor[9] = vendor[10] = 0xFF;
  more[7 + 4 + 11] = 50;  // more comments announced than there are
  Bytes cut = VorbisComments({"ARTIST=Kept", "TITLE=Partial"});
  cut.resize(cut.size() - 4);
  std::string umlauts;
  for (int i = 0; i < 60; ++i) umlauts += "\xC3\xB6";  // ö
  Bytes theora = OggStream(
      {Bytes{0x80} + B("theora") + Bytes(35, 0), Bytes{0x81} + B("theora") + Bytes(20, 0)}, 5);
  struct {
    const char* name;
    Bytes file;
    std::string seen;  // title|artist|album|tagged
  } const cases[] = {
      // Names match without regard to case and only whole; a later comment wins, an empty one
      // empties.
      {"names",
       VorbisFile({"title=A", "Artist=B", "aLbUm=C", "titles=no", "album=Later", "ALBUMARTIST=D",
                   "ARTIST="}),
       "A||Later|1"},
      {"UTF-8 cut to 49 bytes between characters",
       VorbisFile({"TITLE=" + std::string(100, 'v'), "ARTIST=" + umlauts, "ALBUM=Björk € 一"}),
       std::string(49, 'v') + "|" + umlauts.substr(0, 48) + "|Björk € 一|1"},
      {"malformed UTF-8", VorbisFile({"TITLE=K\xC3\xB6\xB6ln \xF0\x9F\x8E"}), "Kö�ln ���|||1"},
      {"small pages", SmallPages(), std::string(49, 't') + "|Across||1"},
      {"interleaved stream", Interleaved(), "t.ogg|Interleaved|" + std::string(49, 'a') + "|1"},
      {"packet not continued", NotContinued(), "t.ogg|Seen||1"},
      {"more comments announced", OggStream({VorbisIdent(), more}), "Kept|||1"},
      {"comment longer than its packet", OggStream({VorbisIdent(), cut, Bytes(50, 'z')}),
       "t.ogg|Kept||1"},
      {"comments replace ID3v1 field by field", vorbis + Id3v1("V1", "V1 Artist", ""),
       "Vorbis|V1 Artist||1"},
      {"Opus", OpusFile({"title=Opus Song", "ARTIST=x"}), "Opus Song|x||1"},
      {"FLAC, comments first", FlacOggFile({FlacComments({"TITLE=Flac Song"})}), "Flac Song|||1"},
      {"FLAC, comments behind other blocks",
       FlacOggFile({FlacBlock(3, Bytes(18, 0)), FlacBlock(2, Bytes(300, 0x84)),
                    FlacComments({"TITLE=Later Block"}), FlacBlock(0x81, Bytes(10, 0))}),
       "Later Block|||1"},
      {"FLAC without comments", FlacOggFile({FlacBlock(0x81, Bytes(10, 0x04))}), "t.ogg|||0"},
      {"FLAC comments behind the last block",
       FlacOggFile({FlacBlock(0x81, Bytes(10, 0)), FlacComments({"TITLE=Too Late"})}), "t.ogg|||0"},
      {"Vorbis behind a Theora stream", theora + vorbis, "Vorbis|||1"},
      {"Theora alone", theora, "t.ogg|||0"},
      {"Speex", OggStream({B("Speex   ") + Bytes(72, 0), Bytes(40, 0x20)}), "t.ogg|||0"},
      {"Ogg and nothing more", B("Ogg") + Bytes(100, 0), "t.ogg|||0"},
      {"not Ogg", B("OgX") + VorbisFile({"TITLE=x"}), "t.ogg|||0"},
      {"cut behind the first page", Bytes(vorbis.begin(), vorbis.begin() + 88), "t.ogg|||0"},
      {"cut inside the vendor", Bytes(vorbis.begin(), vorbis.begin() + 103), "t.ogg|||0"},
      {"vendor length past the file", OggStream({VorbisIdent(), vendor}), "t.ogg|||0"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.seen, Seen(ReadBytes(c.file, "t.ogg"))) << c.name;
}

}  // namespace
}  // namespace spinox
