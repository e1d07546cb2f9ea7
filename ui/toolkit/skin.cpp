#include "ui/toolkit/skin.h"

#include <algorithm>

namespace spinox {

const uint32_t wadlg_defcolors[kSkinColorCount] = {
    0x00000000, 0x0000FF00, 0x003C2424, 0x00423839, 0x00FFFFFF, 0x00A59484, 0x00C60000, 0x00784848,
    0x00FFFFFF, 0x00B46C6C, 0x003C2424, 0x001E1212, 0x003C2424, 0x003C2424, 0x003C2424, 0x00968279,
    0x006E584E, 0x003C2424, 0x00FFFFFF, 0x00B40000, 0x0000FF00, 0x00800000,
};

namespace {

bool Usable(uint32_t pixel, uint32_t reference) {
  return pixel != kUnreadPixel && pixel != kUnsetSkinPixel && pixel != reference;
}

// Replacements refer to entries already filled in the same pass (4, 6 and 2 all come first).
uint32_t Replacement(int i, const uint32_t colors[kSkinColorCount]) {
  switch (i) {
    case 18:
    case 20:
      return colors[4];
    case 19:
      return colors[6];
    case 21:
      return ((colors[6] >> 1) & 0x7F7F7F) + ((colors[2] >> 1) & 0x7F7F7F);
    default:
      return wadlg_defcolors[i];
  }
}

}  // namespace

void ComputeSkinColors(const uint32_t pixels[kSkinColorCount], uint32_t reference,
                       uint32_t colors[kSkinColorCount]) {
  for (int i = 0; i < kSkinColorCount; ++i)
    colors[i] = Usable(pixels[i], reference) ? pixels[i] : Replacement(i, colors);
}

SkinColors::SkinColors() {
  std::copy(wadlg_defcolors, wadlg_defcolors + kSkinColorCount, wadlg_colors);
}

uint32_t WADlg_getColor(const SkinColors& table, int index) {
  if (index < 0 || index >= kSkinColorCount) return 0;
  return table.wadlg_colors[index];
}

}  // namespace spinox
