// The system's ANSI code page, for the texts that are in it (see codepage_win.h).
#include "plugin/codepage_win.h"

#include <windows.h>

#include <string>

#include "base/ansi_path.h"
#include "base/codepage.h"

namespace spinox {

namespace {

std::wstring ToUtf16(const std::u32string& text) {
  std::wstring out;
  for (char32_t c : text) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
    if (c < 0x10000) {
      out.push_back(static_cast<wchar_t>(c));
    } else {
      out.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

std::u32string FromUtf16(const std::wstring& text) {
  std::u32string out;
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char16_t>(text[i]);
    bool pair = c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                text[i + 1] <= 0xDFFF;
    if (pair) c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char16_t>(text[++i]) - 0xDC00);
    out.push_back(c);
  }
  return out;
}

std::string EncodeAcp(const std::u32string& text) {
  std::wstring wide = ToUtf16(text);
  if (wide.empty()) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              "?", nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, "?",
                        nullptr);
  return out;
}

std::u32string DecodeAcp(const std::string& text) {
  if (text.empty()) return std::u32string();
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(n > 0 ? n : 0, L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
  return FromUtf16(wide);
}

// The short (8.3) name of an existing path; empty when the volume keeps none.
std::string ShortPathOf(const std::string& path) {
  std::wstring wide = WideFromUtf8(path);
  DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);
  if (size == 0) return std::string();
  std::wstring out(size, L'\0');
  DWORD length = GetShortPathNameW(wide.c_str(), &out[0], size);
  if (length == 0 || length >= size) return std::string();
  out.resize(length);
  return Utf8FromWide(out);
}

}  // namespace

void InstallAnsiCodePage() {
  static const std::string charset = CharsetOfCodePage(GetACP());
  SetAnsiCodePage(EncodeAcp, DecodeAcp, charset.c_str());
  // The short names by which an .m3u or the player's ANSI playlist message names a path the
  // code page cannot hold.
  SetShortPathFinder(ShortPathOf);
}

}  // namespace spinox
