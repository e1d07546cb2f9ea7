#include "html/color.h"

#include <cstdio>
#include <cstring>

namespace spinox {

namespace {

int HexDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

uint32_t Pair(const char* p) {
  int high = HexDigit(p[0]);
  if (high < 0) return 0;
  int low = HexDigit(p[1]);
  return low < 0 ? static_cast<uint32_t>(high) : static_cast<uint32_t>(high * 16 + low);
}

}  // namespace

void CREFToHTMColor(uint32_t color, char* text) {
  if (color == kNoColor) {
    text[0] = '\0';
    return;
  }
  std::snprintf(text, 8, "#%.2x%.2x%.2x", color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

uint32_t HTMColorToCREF(const char* text) {
  if (*text == '#') ++text;
  if (*text == '\0') return kNoColor;
  char digits[7] = "000000";
  size_t n = strnlen(text, 6);
  std::memcpy(digits, text, n);
  return Pair(digits) + Pair(digits + 2) * 256 + Pair(digits + 4) * 65536;
}

}  // namespace spinox
