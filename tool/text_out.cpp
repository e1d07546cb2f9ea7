#include "tool/text_out.h"

#include <cstdio>

#include "base/codepage.h"

namespace spinox::cli {

namespace {

std::string Escape(unsigned code) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "\\x%02X", code);
  return buf;
}

struct Range {
  char32_t first, last;
};

// Characters a terminal draws in no column: combining marks, zero-width spaces and joiners,
// variation selectors.
constexpr Range kZeroWidth[] = {{0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD},
                                {0x0610, 0x061A}, {0x064B, 0x065F}, {0x0670, 0x0670},
                                {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200B, 0x200F},
                                {0x20D0, 0x20FF}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}};
// Characters drawn in two columns: Hangul Jamo and syllables, CJK radicals, kana, ideographs
// and compatibility forms, Yi, full-width forms, and the emoji blocks.
constexpr Range kWide[] = {{0x1100, 0x115F},   {0x2E80, 0x303E},   {0x3041, 0x33FF},
                           {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
                           {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE30, 0xFE4F},
                           {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
                           {0x1F680, 0x1F6FF}, {0x1F900, 0x1F9FF}, {0x20000, 0x3FFFD}};

template <size_t N>
bool In(const Range (&ranges)[N], char32_t c) {
  for (const Range& r : ranges)
    if (c >= r.first && c <= r.last) return true;
  return false;
}

}  // namespace

std::string TerminalText(const std::string& utf8, bool keepLineFeeds) {
  std::string clean = CleanUtf8(utf8), out;
  for (size_t i = 0; i < clean.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(clean[i]);
    if ((c < 0x20 && !(keepLineFeeds && c == '\n')) || c == 0x7F) {
      out += Escape(c);
    } else if (c == 0xC2 && i + 1 < clean.size() &&
               static_cast<unsigned char>(clean[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(clean[i + 1]) <= 0x9F) {
      out += Escape(static_cast<unsigned char>(clean[++i]));  // U+0080..U+009F
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

size_t ColumnWidth(const std::string& utf8) {
  size_t n = 0;
  for (char32_t c : DecodeUtf8(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size()))
    n += In(kZeroWidth, c) ? 0 : In(kWide, c) ? 2 : 1;
  return n;
}

}  // namespace spinox::cli
