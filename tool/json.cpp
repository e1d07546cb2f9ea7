#include "tool/json.h"

#include <cstdio>

#include "base/codepage.h"

namespace spinox::cli {

std::string JsonString(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : CleanUtf8(utf8)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(static_cast<char>(c));
        }
    }
  }
  return out + "\"";
}

}  // namespace spinox::cli
