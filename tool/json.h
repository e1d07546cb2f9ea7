// Minimal JSON output for the tool.
#pragma once
#include <string>

namespace spinox::cli {

// A JSON string literal (with quotes) of UTF-8 text.
std::string JsonString(const std::string& utf8);
// A JSON string literal of text in the ANSI code page.
std::string JsonAnsi(const std::string& ansi);

}  // namespace spinox::cli
