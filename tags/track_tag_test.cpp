#include "tags/track_tag.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>

#include "base/codepage.h"
#include "tags/tag_io.h"
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
  std::string notes;
  for (int i = 0; i < 12; ++i) notes += "🎵";  // 48 bytes: the cut falls inside the last one
  Bytes comment = Id3Frame(3, "COMM", Bytes{0} + B("eng") + Bytes{0} + B("hi"));
  Bytes blanks = Id3Text(4, "TIT2", "  Title \t") + Id3Text(4, "TALB", "a b\tc\r") +
                 Id3Frame(4, "TPE1", Bytes{3} + B("Art\xC3\xAB\n "));
  const std::pair<std::string, std::string> cases[] = {
      {Seen(ReadPath(dir.File("Some Song.mp3"))), "Some Song.mp3|||0"},
      {Seen(ReadPath("C:\\Music\\Some Song.mp3")), "Some Song.mp3|||0"},
      {Seen(ReadPath(dir.File("gone/Other Song.ogg"))), "Other Song.ogg|||0"},
      {Seen(ReadPath(std::string(60, 's'))), std::string(49, 's') + "|||0"},
      {Seen(ReadPath("/music/東京事変/群青日和.mp3")), "群青日和.mp3|||0"},
      {Seen(ReadPath("/music/Latin1 \xE9.mp3")), "Latin1 �.mp3|||0"},  // not UTF-8
      {Seen(ReadPath("/music/ab" + notes + ".mp3")), "ab" + notes.substr(0, 44) + "|||0"},
      {Seen(ReadBytes(Id3Tag(3, 0, comment, 20) + Audio(500))), "t.mp3|||0"},
      {Seen(ReadBytes(Id3Tag(3, 0, Id3Text(3, "TPE1", "Someone")))), "t.mp3|Someone||1"},
      {Seen(ReadBytes(Id3Tag(3, 0, Id3Text(3, "TIT2", " \t \n") + Id3Text(3, "TPE1", "Band")))),
       "t.mp3|Band||1"},
      {Seen(ReadBytes(Id3Tag(4, 0, blanks) + Id3v1("", "", "V1", ' '))), "  Title|Artë|a b\tc\r|1"},
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

// Files made by real encoders and taggers (tests/data/make_fixtures.sh): their names as UTF-8,
// from ID3v2 texts in every encoding (encoding 0 and ID3v1 in the system's code page,
// Windows-1252 here) and from Vorbis, Opus and FLAC comments.
TEST(TrackTag, FilesOfRealEncoders) {
  const std::pair<const char*, std::string> fixtures[] = {
      {"untagged.mp3", "untagged.mp3|||0"},
      {"lame_v1only.mp3", "Exactly Thirty Characters Long|Padded Artist|Padded Album|1"},
      {"lame_latin1.mp3", "Café del Mar|Mötley Crüe|Über Alles|1"},
      {"lame_utf16.mp3", "Dvořák – Largo|Антон|日本語 Album|1"},
      {"ffmpeg_v24.mp3", "Ça va|Zoë|Naïve Songs|1"},
      {"mutagen_v23_utf16.mp3", "Mutagen Sixteen|Ensemble ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ|Ålbum Sixteen|1"},
      {"mutagen_v24_utf8.mp3", "Mutagen Eight – UTF|Ærosmith|Ωmega|1"},
      {"mutagen_ansi.mp3", "“Smart” Quotes – …|Beyoncé’s Band|€uro Hits|1"},
      {"vorbiscomment.ogg", "Ærøskøbing|Sæbø|Fjord Tales|1"},
      {"big_comment.ogg", "After The Big Comment|Page Spanner|Continued Packets|1"},
      {"opusenc.opus", "Opus Überschrift|Sigur Rós|Ágætis byrjun|1"},
      {"flac.oga", "Fläche – Ogg|Flac Ärtist|Ogg Container|1"},
      {"scripts_v24_ja.mp3", "群青日和|東京事変|教育|1"},
      {"scripts_v24_ko.mp3", "봄날|방탄소년단|You Never Walk Alone|1"},
      {"scripts_v24_emoji.mp3", "🎵 Emoji|😀 Band|🌍|1"},
      {"scripts_v23_ja.mp3", "丸の内線|椎名林檎|無罪モラトリアム|1"},
      {"scripts_v23_zh.mp3", "月亮代表我的心|邓丽君|淡淡幽情|1"},
      {"scripts_v23_cs.mp3", "Largo|Antonín Dvořák|Symfonie č. 9|1"},
      {"scripts_vorbis_ru.ogg", "Кино|Группа крови|Группа крови|1"},
      {"scripts_vorbis_pl.ogg", "Dziewczyna|Żółć Łąka|Wiśnie|1"},
      {"scripts_opus_el.opus", "Ελλάδα|Μίκης Θεοδωράκης|Ζορμπάς|1"},
      {"scripts_flac_ar.oga", "أنا لحبيبي|فيروز|فيروزيات|1"},
      {"scripts_v1_cp1252.mp3", "Šárka|Smetana – “Má vlast”|Œuvres € 1874|1"},
  };
  for (const auto& [file, seen] : fixtures)
    EXPECT_EQ(seen, Seen(ReadPath(TestDataPath(std::string("tags/") + file)))) << file;
}

// Hostile inputs that once upset the readers (tests/data/fuzz-regressions/{id3v1,id3v2,ogg}-*)
// read without a fault and leave every field terminated and well-formed UTF-8.
TEST(TrackTag, FuzzRegressionsReadToTerminatedFields) {
  std::filesystem::path dir = TestDataPath("fuzz-regressions");
  int inputs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    std::string name = entry.path().filename().string();
    if (name.rfind("id3v", 0) != 0 && name.rfind("ogg-", 0) != 0) continue;
    TrackTag tag = ReadPath(entry.path().string());
    for (const char* field : {tag.title, tag.artist, tag.album}) {
      size_t n = strnlen(field, kNameSize);
      EXPECT_LT(n, static_cast<size_t>(kNameSize)) << name;
      EXPECT_TRUE(IsUtf8(field, n)) << name;
    }
    ++inputs;
  }
  EXPECT_GT(inputs, 0);
}

// Every read answers the file's bytes or fails, whichever window (the head read at open, the
// last bytes read at open, a window read later) serves it, for sizes around each boundary, and
// the same for bytes held in memory.
TEST(TagFile, EveryReadAnswersTheFilesBytes) {
  TempDir dir;
  for (size_t size : {0u, 1u, 127u, 128u, 129u, 4095u, 4096u, 4097u, 4224u, 20000u, 40000u}) {
    std::mt19937 rng(static_cast<unsigned>(size));
    Bytes data(size);
    for (unsigned char& b : data) b = static_cast<unsigned char>(rng());
    WriteBytes(dir.File("f"), data);
    TagFile onDisk(dir.File("f")), inMemory(data.data(), data.size());
    for (TagFile* f : {&onDisk, &inMemory}) {
      ASSERT_EQ(f->Size(), static_cast<int64_t>(size));
      // Reads in scrambled order so that every window is replaced in between.
      for (int i = 0; i < 400; ++i) {
        int64_t pos = static_cast<int64_t>(rng() % (size + 200)) - 50;
        if (i % 5 == 0) pos = static_cast<int64_t>(size) - 128 + static_cast<int64_t>(rng() % 140);
        size_t n = rng() % (i % 7 == 0 ? 20000 : 300);
        bool inside = pos >= 0 && pos + static_cast<int64_t>(n) <= static_cast<int64_t>(size);
        size_t some = pos < 0 || pos >= static_cast<int64_t>(size)
                          ? 0
                          : std::min<size_t>(n, size - static_cast<size_t>(pos));
        Bytes got(n + 1, 0xEE), want = got;
        if (some) std::memcpy(want.data(), data.data() + pos, some);
        ASSERT_EQ(f->Read(pos, got.data(), n), inside) << size << " " << pos << " " << n;
        if (inside) {
          ASSERT_EQ(got, want) << size << " " << pos;
        }
        got.assign(n + 1, 0xEE);
        ASSERT_EQ(f->ReadSome(pos, got.data(), n), some) << size << " " << pos << " " << n;
        ASSERT_EQ(got, want);  // nothing written past the bytes asked for
      }
    }
  }
  TagFile missing(dir.File("none.mp3"));
  unsigned char b = 0;
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_FALSE(missing.Read(0, &b, 1));
  EXPECT_EQ(missing.ReadSome(0, &b, 1), 0u);
}

// One open serves all readers: an ID3v2 tag whose title lies far past the head, its artist
// from ID3v1 at the end of a long file.
TEST(TagFile, ReadTagFollowsFramesPastTheHeadAndReadsTheTrailer) {
  TempDir dir;
  Bytes body = Id3Frame(3, "PRIV", Bytes(30000, 0x41)) + Id3Text(3, "TIT2", "Far") +
               Id3Text(3, "TALB", "Disc");
  WriteBytes(dir.File("a.mp3"), Id3Tag(3, 0, body, 100) + Audio(50000) + Id3v1("x", "Band", "y"));
  TrackTag tag{};
  SetField(tag.file, dir.File("a.mp3"));
  ReadTag(&tag);
  EXPECT_EQ("Far|Band|Disc|1", Seen(tag));
}

}  // namespace
}  // namespace spinox
