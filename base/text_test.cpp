#include "base/text.h"

#include <gtest/gtest.h>

namespace spinox {
namespace {

TEST(Text, MakeLowerTouchesOnlyAsciiCapitals) {
  char s[] =
      "\xC4"
      "BBA [Gold] @Z";
  MakeLower(s);
  EXPECT_STREQ(s,
               "\xC4"
               "bba [gold] @z");
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
