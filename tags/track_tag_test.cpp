#include "tags/track_tag.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tags/tag_test_util.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using namespace test;  // NOLINT: the byte builders

TrackTag ReadPath(const std::string& path) {
  TrackTag tag{};
  SetField(tag.file, path);
  ReadTag(&tag);
  return tag;
}

// A file without tags, or one that cannot be opened, is titled by its name; trailing blanks go
// from every tag; a tag that names nothing, or no title, must not turn many files into one song
// without a name.
TEST(TrackTag, DispatchTitlesAndBlanks) {
  TempDir dir;
  WriteBytes(dir.File("Some Song.mp3"), Audio(2000));
  Bytes comment = Id3Frame(3, "COMM", Bytes{0} + B("eng") + Bytes{0} + B("hi"));
  Bytes blanks = Id3Text(4, "TIT2", "  Title \t") + Id3Text(4, "TALB", "a b\tc\r") +
                 Id3Frame(4, "TPE1", Bytes{3} + B("Art\xC3\xAB\n "));
  const std::pair<std::string, std::string> cases[] = {
      {Seen(ReadPath(dir.File("Some Song.mp3"))), "Some Song.mp3|||0"},
      {Seen(ReadPath("C:\\Music\\Some Song.mp3")), "Some Song.mp3|||0"},
      {Seen(ReadPath(dir.File("gone/Other Song.ogg"))), "Other Song.ogg|||0"},
      {Seen(ReadPath(std::string(60, 's'))), std::string(49, 's') + "|||0"},
      {Seen(ReadPath("/music/Caf\xC3\xA9 \xE2\x80\x93 \xC5\x99.mp3")), "Caf\xE9 \x96 ?.mp3|||0"},
      {Seen(ReadPath("/music/Latin1 \xE9.mp3")), "Latin1 \xE9.mp3|||0"},  // not UTF-8: bytes
      {Seen(ReadBytes(Id3Tag(3, 0, comment, 20) + Audio(500))), "t.mp3|||0"},
      {Seen(ReadBytes(Id3Tag(3, 0, Id3Text(3, "TPE1", "Someone")))), "t.mp3|Someone||1"},
      {Seen(ReadBytes(Id3Tag(3, 0, Id3Text(3, "TIT2", " \t \n") + Id3Text(3, "TPE1", "Band")))),
       "t.mp3|Band||1"},
      {Seen(ReadBytes(Id3Tag(4, 0, blanks) + Id3v1("", "", "V1", ' '))),
       "  Title|Art\xEB|a b\tc\r|1"},
      {Seen(ReadBytes(Id3v1("", "", "Album", ' '))), "t.mp3||Album|1"},
      {Seen(ReadBytes(VorbisFile({"TITLE=Vorbis  "}), "v.ogg")), "Vorbis|||1"},
  };
  for (const auto& [seen, expected] : cases) EXPECT_EQ(expected, seen);
  TrackTag tag{};
  SetField(tag.title, "stale");
  tag.tagged = 1;
  EXPECT_EQ(0, ReadTag(&tag));  // no file named at all
  EXPECT_EQ("|||0", Seen(tag));
}

// Files made by real encoders and taggers (tests/data/make_fixtures.sh); texts beyond ASCII come
// out in Windows-1252, characters it lacks as '?'; ID3v2 texts of encoding 0 as their bytes.
TEST(TrackTag, FilesOfRealEncoders) {
  const std::pair<const char*, std::string> fixtures[] = {
      {"untagged.mp3", "untagged.mp3|||0"},
      {"lame_v1only.mp3", "Exactly Thirty Characters Long|Padded Artist|Padded Album|1"},
      {"lame_latin1.mp3", "Caf\xE9 del Mar|M\xF6tley Cr\374e|\334ber Alles|1"},
      {"lame_utf16.mp3", "Dvo?\xE1k \x96 Largo|?????|??? Album|1"},
      {"ffmpeg_v24.mp3", "\307a va|Zo\xEB|Na\xEFve Songs|1"},
      {"mutagen_v23_utf16.mp3",
       "Mutagen Sixteen|Ensemble " + std::string(40, '\xC4') + "|\xC5lbum Sixteen|1"},
      {"mutagen_v24_utf8.mp3", "Mutagen Eight \x96 UTF|\xC6rosmith|?mega|1"},
      {"mutagen_ansi.mp3", "\x93Smart\x94 Quotes \x96 \x85|Beyonc\xE9\x92s Band|\x80uro Hits|1"},
      {"vorbiscomment.ogg", "\xC6r\xF8sk\370bing|S\346b\xF8|Fjord Tales|1"},
      {"big_comment.ogg", "After The Big Comment|Page Spanner|Continued Packets|1"},
      {"opusenc.opus", "Opus \334berschrift|Sigur R\xF3s|\xC1g\xE6tis byrjun|1"},
      {"flac.oga", "Fl\344che \x96 Ogg|Flac \xC4rtist|Ogg Container|1"},
  };
  for (const auto& [file, seen] : fixtures)
    EXPECT_EQ(seen, Seen(ReadPath(TestDataPath(std::string("tags/") + file)))) << file;
}

// Hostile inputs that once upset the readers (tests/data/fuzz-regressions/{id3v1,id3v2,ogg}-*)
// read without a fault and leave every field terminated.
TEST(TrackTag, FuzzRegressionsReadToTerminatedFields) {
  std::filesystem::path dir = TestDataPath("fuzz-regressions");
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (name.rfind("id3v", 0) != 0 && name.rfind("ogg-", 0) != 0) continue;
    TrackTag tag = ReadPath(entry.path().string());
    for (const char* field : {tag.title, tag.artist, tag.album})
      EXPECT_LT(strnlen(field, kNameSize), static_cast<size_t>(kNameSize)) << name;
    ++inputs;
  }
  EXPECT_GT(inputs, 0);
}

}  // namespace
}  // namespace spinox
