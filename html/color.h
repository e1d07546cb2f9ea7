// Colour values (red in the low byte, 0xFFFFFFFF none) as HTML colour texts "#rrggbb".
#pragma once
#include <cstdint>

namespace spinox {

constexpr uint32_t kNoColor = 0xFFFFFFFF;  // a colour field that holds none

// Writes "#rrggbb" (lower-case hex) into `text` (at least 8 bytes), or "" for no colour.
void CREFToHTMColor(uint32_t color, char* text);
// Reads a colour text: one leading '#' skipped, nothing left means no colour, the rest padded
// with '0' to six characters and read as the hex pairs red, green, blue ("#fff" is ff f0 00).
// A pair that is not hexadecimal reads as far as its digits go (none: 0).
uint32_t HTMColorToCREF(const char* text);

}  // namespace spinox
