// Text encodings. Stored texts are 8-bit in the system's ANSI code page: the process code page
// on Windows (the shell installs it), Windows-1252 everywhere else.
#pragma once
#include <cstddef>
#include <string>

namespace spinox {

// Encodes code points into the ANSI code page; unmappable characters become '?'.
using AnsiEncodeFn = std::string (*)(const std::u32string& text);
// Decodes ANSI text into code points.
using AnsiDecodeFn = std::u32string (*)(const std::string& text);

// Replaces the ANSI code page (default: Windows-1252); `charset` is its name as pages
// declare it. Passing nulls restores the default.
void SetAnsiCodePage(AnsiEncodeFn encode, AnsiDecodeFn decode, const char* charset = nullptr);
// The name of the ANSI code page for a page's Content-Type: "windows-1252" by default.
const std::string& AnsiCharset();
// The registered name of a Windows code page ("windows-1252", "shift_jis", "utf-8"...);
// "windows-N" for one without.
std::string CharsetOfCodePage(unsigned codePage);

std::string EncodeAnsi(const std::u32string& text);
std::u32string DecodeAnsi(const std::string& text);

std::string EncodeWindows1252(const std::u32string& text);
std::u32string DecodeWindows1252(const std::string& text);

// Decoders of tag texts. Malformed sequences become U+FFFD (which encodes as '?').
// Each stops at the first NUL character.
std::u32string DecodeLatin1(const unsigned char* p, size_t n);
std::u32string DecodeUtf8(const unsigned char* p, size_t n);
// bigEndian is the byte order to assume when no byte order mark leads the text.
std::u32string DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian);

std::string EncodeUtf8(const std::u32string& text);
// ANSI text as UTF-8, for output meant for terminals and JSON.
std::string AnsiToUtf8(const std::string& text);

}  // namespace spinox
