#include "ui/toolkit/skin.h"

#include <gtest/gtest.h>

namespace spinox {
namespace {

struct Row {
  uint32_t pixels[kSkinColorCount];
  uint32_t reference = 0x00123456;
  explicit Row(uint32_t fill) {
    for (uint32_t& p : pixels) p = fill;
  }
  void Compute(uint32_t* colors) const { ComputeSkinColors(pixels, reference, colors); }
};

TEST(SkinColors, EveryPixelLikeTheReferenceGivesTheReplacements) {
  Row row(0x00123456);
  uint32_t colors[kSkinColorCount];
  row.Compute(colors);
  for (int i = 0; i < 18; ++i) EXPECT_EQ(colors[i], wadlg_defcolors[i]) << i;
  EXPECT_EQ(colors[18], 0x00FFFFFFu);
  EXPECT_EQ(colors[19], 0x00C60000u);
  EXPECT_EQ(colors[20], 0x00FFFFFFu);
  EXPECT_EQ(colors[21], 0x00811212u);
}

TEST(SkinColors, UsablePixelsAreTakenAsTheyAre) {
  Row row(0);
  for (int i = 0; i < kSkinColorCount; ++i) row.pixels[i] = 0x00010101u * (i + 1);
  uint32_t colors[kSkinColorCount];
  row.Compute(colors);
  for (int i = 0; i < kSkinColorCount; ++i) EXPECT_EQ(colors[i], row.pixels[i]);
  EXPECT_EQ(SkinPixelX(0), 48);
  EXPECT_EQ(SkinPixelX(21), 90);
}

TEST(SkinColors, MarkerAndUnreadPixelsAreUnset) {
  Row row(0x00202020);
  row.pixels[1] = kUnsetSkinPixel;
  row.pixels[3] = kUnreadPixel;
  uint32_t colors[kSkinColorCount];
  row.Compute(colors);
  EXPECT_EQ(colors[1], 0x0000FF00u);
  EXPECT_EQ(colors[3], 0x00423839u);
  EXPECT_EQ(colors[0], 0x00202020u);
}

TEST(SkinColors, ReplacementsUseTheEntriesOfTheSamePass) {
  Row row(0x00123456);         // all unset ...
  row.pixels[2] = 0x00FEFEFE;  // ... but colour 2
  row.pixels[4] = 0x00ABCDEF;  // and colour 4
  uint32_t colors[kSkinColorCount];
  row.Compute(colors);
  // The mean of the skin's colour 2 and the default colour 6, channel by channel, rounded down.
  EXPECT_EQ(colors[21], 0x007F7F7Fu + 0x00630000u);
  EXPECT_EQ(colors[18], 0x00ABCDEFu);
  EXPECT_EQ(colors[20], 0x00ABCDEFu);
  row.pixels[6] = 0x00010101;
  row.Compute(colors);
  EXPECT_EQ(colors[19], 0x00010101u);
  EXPECT_EQ(colors[21], 0x007F7F7Fu) << "odd channels round down: 0 + 0x7F";
}

TEST(SkinColors, GetColorOutsideTheTableIsZero) {
  SkinColors table;
  for (int i = 0; i < kSkinColorCount; ++i) table.wadlg_colors[i] = 0x00010000u + i;
  EXPECT_EQ(WADlg_getColor(table, 0), 0x00010000u);
  EXPECT_EQ(WADlg_getColor(table, 21), 0x00010015u);
  EXPECT_EQ(WADlg_getColor(table, 22), 0u);
  EXPECT_EQ(WADlg_getColor(table, -1), 0u);
}

}  // namespace
}  // namespace spinox
