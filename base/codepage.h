// Text encodings. Stored texts (names, paths, settings texts) are UTF-8. Databases and settings
// written by earlier versions hold the system's ANSI code page instead (the process code page on
// Windows, which the shell installs; Windows-1252 everywhere else); they are converted once, and
// the ANSI code page is still what ID3v1 tags and .m3u playlists are written in.
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
// UTF-8 text (malformed sequences taken as U+FFFD) in the ANSI code page, for its few readers.
std::string Utf8ToAnsi(const std::string& text);

// Any bytes as well-formed UTF-8: every malformed sequence becomes U+FFFD; stops at a NUL.
std::string CleanUtf8(const std::string& bytes);
// True when the n bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool IsUtf8(const char* p, size_t n);
// The length of the longest head of p[0..n) that is at most `max` bytes and does not end inside
// a UTF-8 sequence: a sequence the cut would split is left out whole. Bytes that are not
// well-formed UTF-8 are taken as single characters.
size_t Utf8CutLength(const char* p, size_t n, size_t max);

// UTF-16 (the system's wide strings) and UTF-8. Unpaired surrogates and malformed UTF-8 become
// U+FFFD; both stop at the first NUL.
std::string Utf8FromUtf16(const char16_t* p, size_t n);
std::u16string Utf16FromUtf8(const std::string& utf8);

#ifdef _WIN32
// The same for wchar_t, which is UTF-16 on Windows.
inline std::wstring WideFromUtf8(const std::string& utf8) {
  std::u16string u = Utf16FromUtf8(utf8);
  return std::wstring(u.begin(), u.end());
}
inline std::string Utf8FromWide(const wchar_t* p, size_t n) {
  return Utf8FromUtf16(reinterpret_cast<const char16_t*>(p), n);
}
inline std::string Utf8FromWide(const std::wstring& w) {
  return Utf8FromWide(w.data(), w.size());
}
#endif

}  // namespace spinox
