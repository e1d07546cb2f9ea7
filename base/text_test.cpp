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

TEST(Text, FieldTextStopsAtTheFieldEnd) {
  const char unterminated[3] = {'a', 'b', 'c'};
  EXPECT_EQ(FieldText(unterminated), "abc");
  const char early[4] = {'a', 0, 'c', 0};
  EXPECT_EQ(FieldText(early), "a");
}

}  // namespace
}  // namespace spinox
