// Minimal JSON output for the tool.
#pragma once
#include <string>

namespace spinox::cli {

// A JSON string literal (with quotes) of UTF-8 text; malformed bytes become U+FFFD, so the
// output is well-formed whatever a name, path or message holds.
std::string JsonString(const std::string& utf8);

}  // namespace spinox::cli
