// Files made by real encoders and taggers (tests/data/make_fixtures.sh); texts beyond ASCII
// come out in Windows-1252, characters it lacks as '?'; ID3v2 texts of encoding 0 as their bytes.
#include <gtest/gtest.h>

#include <ostream>

#include "base/text.h"
#include "tags/track_tag.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

struct Fixture {
  const char* file;
  const char* title;
  const char* artist;
  const char* album;
  int tagged;
};

const Fixture kFixtures[] = {
    {"untagged.mp3", "untagged.mp3", "", "", 0},
    {"lame_v1only.mp3", "Exactly Thirty Characters Long", "Padded Artist", "Padded Album", 1},
    {"lame_latin1.mp3", "Caf\xE9 del Mar",
     "M\xF6tley Cr\xFC"
     "e",
     "\xDC"
     "ber Alles",
     1},
    {"lame_utf16.mp3", "Dvo?\xE1k \x96 Largo", "?????", "??? Album", 1},
    {"id3v2_tool.mp3", "A Title Longer Than Thirty Characters", "Id3lib Artist", "Id3lib Album", 1},
    {"ffmpeg_v24.mp3",
     "\xC7"
     "a va",
     "Zo\xEB", "Na\xEFve Songs", 1},
    {"ffmpeg_v23.mp3", "Sm\xF6rg\xE5sbord", "Sigur R\xF3s", "\xC1g\xE6tis byrjun", 1},
    {"ffmpeg.ogg", "F\xEAte", "Fran\xE7oise Hardy", "Le Premier Bonheur", 1},
    {"eyed3_v24.mp3", "Se\xF1or Eyed", "Jos\xE9 Gonz\xE1lez", "Veneer \x96 Deluxe", 1},
    {"mutagen_v23_utf16.mp3", "Mutagen Sixteen",
     "Ensemble \xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4"
     "\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4\xC4",
     "\xC5lbum Sixteen", 1},
    {"mutagen_v24_utf8.mp3", "Mutagen Eight \x96 UTF", "\xC6rosmith", "?mega", 1},
    {"mutagen_ansi.mp3", "\x93Smart\x94 Quotes \x96 \x85", "Beyonc\xE9\x92s Band", "\x80uro Hits",
     1},
    {"oggenc_lower.ogg", "Se\xF1orita", "Bj\xF6rk", "Homogenic", 1},
    {"vorbiscomment.ogg",
     "\xC6r\xF8sk\xF8"
     "bing",
     "S\xE6"
     "b\xF8",
     "Fjord Tales", 1},
    {"big_comment.ogg", "After The Big Comment", "Page Spanner", "Continued Packets", 1},
    {"opusenc.opus",
     "Opus \xDC"
     "berschrift",
     "Sigur R\xF3s", "\xC1g\xE6tis byrjun", 1},
    {"flac.oga",
     "Fl\xE4"
     "che \x96 Ogg",
     "Flac \xC4rtist", "Ogg Container", 1},
};

void PrintTo(const Fixture& f, std::ostream* os) {
  *os << f.file;
}

class Fixtures : public ::testing::TestWithParam<Fixture> {};

TEST_P(Fixtures, ReadAsAListenerExpects) {
  const Fixture& f = GetParam();
  TrackTag tag{};
  SetField(tag.file, test::TestDataPath(std::string("tags/") + f.file));
  ReadTag(&tag);
  EXPECT_EQ(FieldText(tag.title), f.title);
  EXPECT_EQ(FieldText(tag.artist), f.artist);
  EXPECT_EQ(FieldText(tag.album), f.album);
  EXPECT_EQ(tag.tagged, f.tagged);
}

INSTANTIATE_TEST_SUITE_P(Encoders, Fixtures, ::testing::ValuesIn(kFixtures),
                         [](const ::testing::TestParamInfo<Fixture>& info) {
                           std::string name = info.param.file;
                           for (char& c : name) {
                             if (c == '.') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace spinox
