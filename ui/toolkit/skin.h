// The skin's colour table: 22 colours read from the top row of the bitmap that the player
// hands out for drawing dialogs in its skin's colours. skin_win.h draws with them.
#pragma once
#include <cstdint>

namespace spinox {

constexpr int kSkinColorCount = 22;
// A pixel that could not be read.
constexpr uint32_t kUnreadPixel = 0xFFFFFFFF;
// The marker colour (red 0, green 198, blue 255) of a skin that leaves an entry unset.
constexpr uint32_t kUnsetSkinPixel = 0x00FFC600;
// The reference pixel: an entry equal to it is unset too.
constexpr int kSkinReferenceX = 111;

// The colours of a skin that gives none.
extern const uint32_t wadlg_defcolors[kSkinColorCount];

// A colour table (0x00BBGGRR). It starts with the defaults: an all-zero table would draw black
// text on a black background, for good when the player has no skin bitmap.
struct SkinColors {
  SkinColors();
  uint32_t wadlg_colors[kSkinColorCount];
};

// Where entry i is read: (48 + 2 i, 0).
constexpr int SkinPixelX(int i) {
  return 48 + 2 * i;
}

// Fills `colors` from the pixels of the entries and the reference pixel. An unusable pixel
// takes its replacement: entries 18 and 20 entry 4, 19 entry 6, 21 the mean of entries 6
// and 2 (each channel rounded down), the others their default.
void ComputeSkinColors(const uint32_t pixels[kSkinColorCount], uint32_t reference,
                       uint32_t colors[kSkinColorCount]);

// Entry `index` of the table; 0 for an index outside 0..21.
uint32_t WADlg_getColor(const SkinColors& table, int index);

}  // namespace spinox
