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

}  // namespace

std::string TerminalText(const std::string& ansi, bool keepLineFeeds) {
  std::string utf8 = AnsiToUtf8(ansi), out;
  for (size_t i = 0; i < utf8.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    if ((c < 0x20 && !(keepLineFeeds && c == '\n')) || c == 0x7F) {
      out += Escape(c);
    } else if (c == 0xC2 && i + 1 < utf8.size() &&
               static_cast<unsigned char>(utf8[i + 1]) >= 0x80 &&
               static_cast<unsigned char>(utf8[i + 1]) <= 0x9F) {
      out += Escape(static_cast<unsigned char>(utf8[++i]));  // U+0080..U+009F
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

}  // namespace spinox::cli
