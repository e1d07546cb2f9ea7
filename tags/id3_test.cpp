#include "tags/id3.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include "base/codepage.h"
#include "tags/tag_test_util.h"

namespace spinox {
namespace {

using namespace test;  // NOLINT: the byte builders

Bytes Zlib(const Bytes& in) {
  uLongf n = compressBound(static_cast<uLong>(in.size()));
  Bytes out(n);
  EXPECT_EQ(compress(out.data(), &n, in.data(), static_cast<uLong>(in.size())), Z_OK);
  out.resize(n);
  return out;
}

std::string Repeat(const std::string& text, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += text;
  return out;
}

Bytes Dli(const Bytes& content) {  // a 2.4 data length indicator
  return SynchsafeBytes(static_cast<uint32_t>(content.size()), 4);
}

// The title frame of the layout, then an artist frame "After", in a tag followed by audio.
Bytes Frames(int v, const Bytes& title, unsigned char format = 0) {
  return Id3Frame(v, v == 2 ? "TT2" : "TIT2", title, format) +
         Id3Text(v, v == 2 ? "TP1" : "TPE1", "After");
}
Bytes File(int v, unsigned char flags, const Bytes& frames) {
  return Id3Tag(v, flags, frames) + Audio(200);
}

struct Case {
  std::string name;
  Bytes file;
  std::string seen;  // title|artist|album|tagged
};

std::vector<Case> LayoutCases() {
  std::vector<Case> cases;
  for (int v : {2, 3, 4}) {
    auto id = [v](const char* v22, const char* v23) { return v == 2 ? v22 : v23; };
    Bytes texts = Id3Text(v, id("TT2", "TIT2"), "Song") + Id3Text(v, id("TP1", "TPE1"), "Band") +
                  Id3Text(v, id("TAL", "TALB"), "Record");
    cases.push_back({"2." + std::to_string(v) + " frames", Id3Tag(v, 0, texts, 64) + Audio(300),
                     "Song|Band|Record|1"});
    // The title is found only when the frame ahead's size is decoded as the version defines it.
    Bytes picture = Id3Frame(v, id("PIC", "APIC"), Bytes(200, 0xC8));
    cases.push_back({"2." + std::to_string(v) + " large frame size",
                     File(v, 0, picture + Id3Text(v, id("TT2", "TIT2"), "After Picture")),
                     "After Picture|||1"});
  }
  return cases;
}

TEST(Id3, TagsReadAsAListenerExpects) {
  const std::string thirty = "123456789012345678901234567890";
  Bytes utf8 = Bytes{3} + B("Zo\xC3\xAB \xE2\x80\x93 \xC5\x99");  // Zoë – ř
  Bytes encodings = Id3Frame(4, "TIT2", utf8) +
                    Id3Frame(4, "TPE1", Bytes{1} + Utf16(u"Caf\u00e9", false, true)) +
                    Id3Frame(4, "TALB", Bytes{1} + Utf16(u"\u00c9t\u00e9", true, true));
  Bytes empties = Id3Text(3, "TIT2", "First") + Id3Text(3, "TPE1", "Artist") +
                  Id3Frame(3, "TIT2", Bytes{0}) + Id3Frame(3, "TPE1", Bytes{}) +
                  Id3Text(3, "TALB", "Album");
  Bytes longTexts = Id3Text(3, "TIT2", std::string(60, 'x')) +
                    Id3Frame(3, "TPE1", Bytes{1} + Utf16(std::u16string(60, u'\u00e4'), 0, 1)) +
                    Id3Text(3, "TALB", "Next");
  Bytes huge = B("TXXX") + Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0} + Bytes(20, 1);
  std::vector<Case> cases = {
      {"v1 alone", Id3v1("T", "A", "L"), "T|A|L|1"},
      {"v1 not in the last 128 bytes", Id3v1("T", "A", "L") + Bytes{0}, "t.mp3|||0"},
      {"v1 shorter than a trailer", B("TAG") + Bytes(100, 0), "t.mp3|||0"},
      {"v1 full width, padded", Id3v1(thirty, "Artist", "Album", ' '), thirty + "|Artist|Album|1"},
      {"v2 wins field by field over v1",
       Id3Tag(3, 0, Id3Text(3, "TIT2", "V2"), 100) + Audio(400) + Id3v1("V1", "V1 Artist", ""),
       "V2|V1 Artist||1"},
      {"2.3 extended header",
       Id3Tag(3, 0x40, BigEndianBytes(10, 4) + Bytes(10, 0xEE) + Id3Text(3, "TIT2", "Ext 2.3")),
       "Ext 2.3|||1"},
      {"2.4 extended header counts its size",
       Id3Tag(4, 0x40, SynchsafeBytes(6, 4) + Bytes{1, 0} + Id3Text(4, "TIT2", "Ext 2.4")),
       "Ext 2.4|||1"},
      {"extended header past the tag",
       Id3Tag(3, 0x40, Bytes{0xFF, 0xFF, 0xFF, 0xFF} + Id3Text(3, "TIT2", "Hidden")), "t.mp3|||0"},
      {"UTF-8, UTF-16 both orders", Id3Tag(4, 0, encodings), "Zoë – ř|Café|Été|1"},
      {"later frame overwrites",
       Id3Tag(4, 0, encodings + Id3Frame(4, "TIT2", Bytes{2} + Utf16(u"\u00d8re", true, false))),
       "Øre|Café|Été|1"},
      {"texts cut after conversion", Id3Tag(3, 0, longTexts),
       std::string(49, 'x') + "|" + Repeat("ä", 24) + "|Next|1"},
      {"empty frames empty the field", Id3Tag(3, 0, empties), "t.mp3||Album|1"},
      {"hostile frame size ends the walk",
       Id3Tag(3, 0, Id3Text(3, "TIT2", "Before") + huge + Id3Text(3, "TPE1", "X")), "Before|||1"},
  };
  for (const Case& c : LayoutCases()) cases.push_back(c);
  for (const Case& c : cases) EXPECT_EQ(c.seen, Seen(ReadBytes(c.file))) << c.name;
}

// Frames as writers code them read like plain ones: a title whose bytes unsynchronisation
// changes, behind every coding, then a plain artist frame.
TEST(Id3, CodedFramesReadLikePlainOnes) {
  const Bytes plain = Bytes{0} + B("Plain \xFF\xFF Title");
  Bytes z = Zlib(plain), dli = Dli(plain);
  Bytes size23 = BigEndianBytes(static_cast<uint32_t>(plain.size()), 4);
  const std::pair<const char*, Bytes> cases[] = {
      {"2.3 tag unsynchronised whole", File(3, 0x80, Unsync(Frames(3, plain)))},
      {"2.4 frame unsynchronised by its flag", File(4, 0, Frames(4, Unsync(plain), 0x02))},
      {"2.4 frames unsynchronised by the tag flag", File(4, 0x80, Frames(4, Unsync(plain)))},
      {"2.4 data length", File(4, 0, Frames(4, dli + plain, 0x01))},
      {"2.4 group byte and data length", File(4, 0, Frames(4, Bytes{0x33} + dli + plain, 0x41))},
      {"2.4 unsynchronised, data length", File(4, 0, Frames(4, dli + Unsync(plain), 0x03))},
      {"2.3 group byte", File(3, 0, Frames(3, Bytes{0x33} + plain, 0x20))},
      {"2.3 compressed", File(3, 0, Frames(3, size23 + z, 0x80))},
      {"2.4 compressed", File(4, 0, Frames(4, dli + z, 0x09))},
      {"2.4 compressed, length flag missing", File(4, 0, Frames(4, dli + z, 0x08))},
      {"2.4 compressed and unsynchronised", File(4, 0, Frames(4, dli + Unsync(z), 0x0B))},
  };
  for (const auto& [name, file] : cases)
    EXPECT_EQ("Plain ÿÿ Title|After||1", Seen(ReadBytes(file))) << name;
}

TEST(Id3, EdgesOfCodingTextAndSize) {
  const Bytes plain = Bytes{0} + B("Plain");
  Bytes bad = Zlib(plain), huge = Bytes{0} + B(std::string(70000, 'h'));
  bad.back() ^= 1;
  Bytes be = Bytes{2} + Utf16(u"\u00c9t\u00e9 \u2013 Live", true, false);
  Bytes header = B("ID3") + Bytes{3, 0, 0} + SynchsafeBytes(2000, 4);
  Bytes artist = Id3Text(3, "TPE1", "Whole"), title = Id3Text(3, "TIT2", "Title In Audio");
  Bytes twoValues = Bytes{1} + Utf16(u"One", 0, 1) + Bytes{0, 0} + Utf16(u"Two", 0, 0);
  Bytes shortTag = B("ID3") + Bytes{3, 0, 0} + Dli(Bytes(artist.size() + title.size() - 6));
  const Case cases[] = {
      // 2.3 frame of 255 bytes: its size byte 0xFF is followed by an inserted zero.
      {"unsynchronised frame size", File(3, 0x80, Unsync(Frames(3, Bytes{0} + Bytes(254, 'x')))),
       std::string(49, 'x') + "|After||1"},
      // 0xFF 0x00 in a text: one zero is inserted, the other stays and ends the text.
      {"zero kept behind 0xFF", File(3, 0x80, Unsync(Frames(3, Bytes{0, 0xFF, 0} + B("ish")))),
       "ÿ|After||1"},
      {"wrong check value drops", File(4, 0, Frames(4, Dli(plain) + bad, 0x09)), "t.mp3|After||1"},
      {"inflating past the cap drops", File(4, 0, Frames(4, Dli(huge) + Zlib(huge), 0x09)),
       "t.mp3|After||1"},
      {"encrypted drops", File(3, 0, Frames(3, Bytes{0x80, 0} + B("Ciphertext"), 0x40)),
       "t.mp3|After||1"},
      {"encoding 0 from the code page",
       File(3, 0, Frames(3, Bytes{0} + B("\x93Q\x94 \x85 \x80 \x81"))), "“Q” … € �|After||1"},
      {"unknown encoding from the code page", File(3, 0, Frames(3, Bytes{7} + B("Seven\x99"))),
       "Seven™|After||1"},
      {"UTF-8 byte order mark", File(4, 0, Frames(4, Bytes{3} + B("\xEF\xBB\xBFZo\xC3\xAB"))),
       "Zoë|After||1"},
      {"malformed UTF-8", File(4, 0, Frames(4, Bytes{3} + B("a\xC3(\xED\xA0\x80\xF8z"))),
       "a�(��z|After||1"},
      {"unpaired surrogates", File(3, 0, Frames(3, Bytes{1} + Utf16(u"x\xD800y\xDC00", 0, 1))),
       "x�y�|After||1"},
      {"UTF-16BE behind a data length", File(4, 0, Frames(4, Dli(be) + be, 0x01)),
       "Été – Live|After||1"},
      {"UTF-16 text ends at its terminator", File(4, 0, Frames(4, twoValues)), "One|After||1"},
      {"file ends behind the header", header, "t.mp3|||0"},
      {"file ends inside the header", B("ID3\x03"), "t.mp3|||0"},
      {"file ends inside a frame header", header + Bytes(5, 'T'), "t.mp3|||0"},
      {"file ends inside a frame", header + artist + Bytes(title.begin(), title.end() - 3),
       "t.mp3|Whole||1"},
      {"frame runs past its tag", shortTag + artist + title + Audio(300), "t.mp3|Whole||1"},
      // A frame right behind a tag that ends before it is audio data, not a frame.
      {"walk stops at the tag end",
       Id3Tag(3, 0, Id3Text(3, "TPE1", "In")) + Id3Text(3, "TIT2", "O"), "t.mp3|In||1"},
      {"padding ends the frames", File(3, 0, Bytes(20, 0) + Frames(3, plain)), "t.mp3|||0"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.seen, Seen(ReadBytes(c.file))) << c.name;
}

// A sliver of Shift_JIS, as a Japanese system's ANSI code page: ASCII, and the hiragana at
// 0x82 0x9F..0xF1; any other byte is no character.
std::u32string DecodeHiragana(const std::string& bytes) {
  std::u32string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(bytes[i]);
    unsigned char t = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    if (b < 0x80) {
      out.push_back(b);
    } else if (b == 0x82 && t >= 0x9F && t <= 0xF1) {
      out.push_back(0x3041 + (t - 0x9F));
      ++i;
    } else {
      out.push_back(0xFFFD);
    }
  }
  return out;
}

// Texts are cut at 49 bytes between two UTF-8 characters, never inside one, whichever encoding
// they came in; ID3v1 and encoding 0 are read from the system's code page.
TEST(Id3, CutsAndCodePages) {
  auto utf16 = [](const std::u16string& text) { return Bytes{1} + Utf16(text, false, true); };
  std::u16string notes;
  for (int i = 0; i < 12; ++i) notes += u"\U0001F3B5";  // 🎵, 4 bytes in UTF-8
  const Case cases[] = {
      {"2-byte character across byte 49",
       Id3Tag(4, 0, Id3Frame(4, "TIT2", Bytes{3} + B(std::string(48, 'a') + "é"))),
       std::string(48, 'a') + "|||1"},
      {"3-byte characters, the last ending at byte 49",
       Id3Tag(3, 0, Id3Frame(3, "TIT2", utf16(u"a" + std::u16string(16, u'日')))),
       "a" + Repeat("日", 16) + "|||1"},
      {"3-byte character across byte 49",
       Id3Tag(3, 0, Id3Frame(3, "TIT2", utf16(u"ab" + std::u16string(16, u'日')))),
       "ab" + Repeat("日", 15) + "|||1"},
      {"4-byte characters, the last ending at byte 49",
       Id3Tag(3, 0, Id3Frame(3, "TIT2", utf16(u"a" + notes))), "a" + Repeat("🎵", 12) + "|||1"},
      {"4-byte character across byte 49", Id3Tag(3, 0, Id3Frame(3, "TIT2", utf16(u"ab" + notes))),
       "ab" + Repeat("🎵", 11) + "|||1"},
      {"ID3v1 from the code page",
       Id3v1("\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD", "Band \x82", "\x82\xF1\x82\xF2"),
       "こんにちは|Band �|ん��|1"},
      {"ID3v1 of 30 double-byte bytes", Id3v1(Repeat("\x82\xA0", 15), "", ""),
       Repeat("あ", 15) + "|||1"},
      {"encoding 0 from the code page",
       Id3Tag(3, 0, Id3Text(3, "TPE1", "\x82\xA0\x82\xA2") + Id3Text(3, "TALB", "ASCII")),
       "t.mp3|あい|ASCII|1"},
  };
  SetAnsiCodePage(nullptr, DecodeHiragana, "shift_jis");
  for (const Case& c : cases) EXPECT_EQ(c.seen, Seen(ReadBytes(c.file))) << c.name;
  SetAnsiCodePage(nullptr, nullptr);
}

// The header's facts, and a read that starts afresh on a file without them.
TEST(Id3, HeaderFacts) {
  auto facts = [](const Bytes& bytes, TrackTag* tag) {
    TagFile f(bytes.data(), bytes.size());
    ReadTag(f, tag);
    return std::to_string(tag->id3Version) + " " + std::to_string(tag->id3End) + " " +
           std::to_string(tag->id3ExtHeader);
  };
  TrackTag tag{};
  EXPECT_EQ("4 330 1", facts(Id3Tag(4, 0x40, Bytes(20, 0), 300), &tag));
  EXPECT_EQ("0 0", facts(Audio(300), &tag).substr(0, 3));
}

}  // namespace
}  // namespace spinox
