#include "base/codepage.h"

#include <gtest/gtest.h>

#include <utility>

#include "base/text.h"

namespace spinox {
namespace {

std::u32string U8(const char* s) {
  return DecodeUtf8(reinterpret_cast<const unsigned char*>(s), std::char_traits<char>::length(s));
}

TEST(CodePage, Windows1252MapsItsHighRowAndReplacesTheRest) {
  EXPECT_EQ(EncodeWindows1252(U"caf\u00e9 \u20ac \u2019"), "caf\xe9 \x80 \x92");
  EXPECT_EQ(EncodeWindows1252(U"\u0416\U0001F600"), "??");                 // Cyrillic, emoji
  EXPECT_EQ(Utf8ToAnsi("Dvo\xc5\x99\xc3\xa1k \xe2\x82"), "Dvo?\xe1k ??");  // malformed tail
  EXPECT_EQ(DecodeWindows1252("\x80\x9f\xff"), U"\u20ac\u0178\u00ff");
  EXPECT_EQ(DecodeWindows1252("\x81"), U"\ufffd");  // unassigned byte
}

TEST(CodePage, Utf8DecodingRejectsMalformedSequences) {
  EXPECT_EQ(U8("Bj\xc3\xb6rk"), U"Bj\u00f6rk");
  EXPECT_EQ(U8("\xf0\x9f\x98\x80"), U"\U0001F600");
  EXPECT_EQ(U8("a\xc0\xafz"), U"a\ufffd\ufffdz");  // overlong
  EXPECT_EQ(U8("\xed\xa0\x80"), U"\ufffd");        // surrogate
  EXPECT_EQ(U8("\xe2\x82"), U"\ufffd\ufffd");      // cut short at the end
  const unsigned char withNul[] = {'a', 0, 'b'};
  EXPECT_EQ(DecodeUtf8(withNul, 3), U"a");
}

TEST(CodePage, Utf16FollowsTheByteOrderMark) {
  const unsigned char le[] = {0xFF, 0xFE, 'H', 0, 0xE9, 0, 0, 0, 'x', 0};
  EXPECT_EQ(DecodeUtf16(le, sizeof le, true), U"H\u00e9");
  const unsigned char be[] = {0xFE, 0xFF, 0, 'H', 0xD8, 0x3D, 0xDE, 0x00};
  EXPECT_EQ(DecodeUtf16(be, sizeof be, false), U"H\U0001F600");
  const unsigned char noBom[] = {0, 'A', 0, 'B', 0};  // odd tail byte is dropped
  EXPECT_EQ(DecodeUtf16(noBom, sizeof noBom, true), U"AB");
  const unsigned char lone[] = {0x3D, 0xD8, 'a', 0};  // high surrogate without its pair
  EXPECT_EQ(DecodeUtf16(lone, sizeof lone, false), U"\ufffda");
}

TEST(CodePage, Utf16AndUtf8ConvertBothWays) {
  const struct {
    std::u16string wide;
    std::string utf8;
  } cases[] = {
      {u"Dvo\u0159\u00e1k", "Dvo\xc5\x99\xc3\xa1k"},
      {u"\u6771\u4eac\u4e8b\u5909", "\xe6\x9d\xb1\xe4\xba\xac\xe4\xba\x8b\xe5\xa4\x89"},
      {u"\U0001F600!", "\xf0\x9f\x98\x80!"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8FromUtf16(c.wide.data(), c.wide.size()), c.utf8);
    EXPECT_EQ(Utf16FromUtf8(c.utf8), c.wide);
  }
  const char16_t lone[] = {u'a', 0xD800, u'b', 0, u'c'};  // unpaired surrogate, then a NUL
  EXPECT_EQ(Utf8FromUtf16(lone, 5),
            "a\xef\xbf\xbd"
            "b");
  EXPECT_EQ(Utf16FromUtf8("a\xff"), u"a\ufffd");
}

TEST(CodePage, OnlyWellFormedUtf8PassesAsIs) {
  const struct {
    std::string bytes;
    bool wellFormed;
  } cases[] = {{"", true},
               {"abc", true},
               {"\xc5\x99", true},
               {"\xf0\x9f\x98\x80", true},
               {"\xe9", false},
               {"\xc0\xaf", false},
               {"\xed\xa0\x80", false},
               {"\xe6\x9d", false},
               {"\xf4\x90\x80\x80", false}};
  for (const auto& c : cases) {
    EXPECT_EQ(IsUtf8(c.bytes.data(), c.bytes.size()), c.wellFormed) << c.bytes;
    std::string clean = CleanUtf8(c.bytes);
    EXPECT_TRUE(IsUtf8(clean.data(), clean.size()));
    if (c.wellFormed) {
      EXPECT_EQ(clean, c.bytes);
    }
  }
}

// An installed code page replaces the default, its name too, until it is taken away.
TEST(CodePage, AnInstalledCodePageReplacesTheDefault) {
  EXPECT_EQ(AnsiCharset(), "windows-1252");
  SetAnsiCodePage([](const std::u32string& t) { return std::string(t.size(), 'X'); }, nullptr,
                  "windows-1251");
  EXPECT_EQ(EncodeAnsi(U"ab"), "XX");
  EXPECT_EQ(AnsiCharset(), "windows-1251");
  SetAnsiCodePage(nullptr, nullptr);
  EXPECT_EQ(EncodeAnsi(U"\u20ac"), "\x80");
  EXPECT_EQ(AnsiCharset(), "windows-1252");
  const std::pair<unsigned, const char*> names[] = {
      {1252, "windows-1252"}, {1250, "windows-1250"}, {1251, "windows-1251"},
      {874, "windows-874"},   {932, "shift_jis"},     {936, "gbk"},
      {949, "euc-kr"},        {950, "big5"},          {65001, "utf-8"}};
  for (const auto& [codePage, name] : names) EXPECT_EQ(CharsetOfCodePage(codePage), name);
}

// Only ASCII capitals fold, not their neighbours '@' and '[' nor a code page's letters.
TEST(Text, MakeLowerTouchesOnlyAsciiCapitals) {
  std::string s = "\xC4@AZ[bba]";
  MakeLower(s.data());
  EXPECT_EQ(s, "\xC4@az[bba]");
}

TEST(Text, SetFieldCutsAndFillsTheWholeField) {
  char field[5];
  std::memset(field, 'x', sizeof field);
  SetField(field, "abcdefgh");
  EXPECT_EQ(std::string(field, 5), std::string("abcd\0", 5));
  SetField(field, "a");
  EXPECT_EQ(std::string(field, 5), std::string("a\0\0\0\0", 5));
}

// A name field holds at most 49 bytes; a character the cut would split is left out whole.
TEST(Text, SetFieldCutsBetweenUtf8Characters) {
  const std::string a48(48, 'a'), a47(47, 'a');
  const struct {
    std::string in, kept;
  } cases[] = {
      {a48 + "\xc3\xa9", a48},               // 2-byte character at bytes 48..49
      {a47 + "\xc3\xa9", a47 + "\xc3\xa9"},  // ends exactly at byte 49
      {a47 + "\xe6\x9d\xb1", a47},           // 3-byte character
      {a48 + "\xf0\x9f\x98\x80", a48},       // emoji
      {std::string(16, 'x') + std::string(12, '\0') + "\xe6\x9d\xb1", std::string(16, 'x')},
      {a48 + "\xe9xyz", a48 + "\xe9"},       // a stray byte is a character of its own
      {a47 + "\xe6\x9d", a47 + "\xe6\x9d"},  // a broken sequence is stray bytes
  };
  for (const auto& c : cases) {
    char field[50];
    SetField(field, c.in.c_str());
    EXPECT_EQ(FieldText(field), c.kept) << c.in;
  }
}

TEST(Text, FieldTextStopsAtTheFieldEnd) {
  const char unterminated[3] = {'a', 'b', 'c'};
  EXPECT_EQ(FieldText(unterminated), "abc");
  const char early[4] = {'a', 0, 'c', 0};
  EXPECT_EQ(FieldText(early), "a");
}

}  // namespace
}  // namespace spinox
