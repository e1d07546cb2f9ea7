#include "base/codepage.h"

namespace spinox {

namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five unassigned bytes.
const char32_t kCp1252High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

AnsiEncodeFn gEncode = nullptr;
AnsiDecodeFn gDecode = nullptr;
const char kDefaultCharset[] = "windows-1252";
std::string gCharset = kDefaultCharset;

constexpr char32_t kReplacement = 0xFFFD;

char Encode1252(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] != 0 && kCp1252High[i] == c) return static_cast<char>(0x80 + i);
  }
  return '?';
}

// Length of the UTF-8 sequence led by `b`, 0 for a byte that cannot lead one.
int Utf8Length(unsigned char b) {
  if (b < 0x80) return 1;
  if (b >= 0xC2 && b <= 0xDF) return 2;
  if (b >= 0xE0 && b <= 0xEF) return 3;
  if (b >= 0xF0 && b <= 0xF4) return 4;
  return 0;
}

bool ValidCodePoint(char32_t c, int len) {
  static const char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  return c >= kMin[len] && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
}

}  // namespace

void SetAnsiCodePage(AnsiEncodeFn encode, AnsiDecodeFn decode, const char* charset) {
  gEncode = encode;
  gDecode = decode;
  gCharset = charset ? charset : kDefaultCharset;
}

const std::string& AnsiCharset() {
  return gCharset;
}

std::string CharsetOfCodePage(unsigned codePage) {
  static const struct {
    unsigned codePage;
    const char* name;
  } kNames[] = {{874, "windows-874"},  {932, "shift_jis"},     {936, "gbk"},
                {949, "euc-kr"},       {950, "big5"},          {1200, "utf-16le"},
                {20866, "koi8-r"},     {21866, "koi8-u"},      {28591, "iso-8859-1"},
                {28592, "iso-8859-2"}, {28605, "iso-8859-15"}, {54936, "gb18030"},
                {65001, "utf-8"}};
  for (const auto& n : kNames)
    if (n.codePage == codePage) return n.name;
  return "windows-" + std::to_string(codePage);
}

std::string EncodeAnsi(const std::u32string& text) {
  return gEncode ? gEncode(text) : EncodeWindows1252(text);
}

std::u32string DecodeAnsi(const std::string& text) {
  return gDecode ? gDecode(text) : DecodeWindows1252(text);
}

std::string EncodeWindows1252(const std::u32string& text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t c : text) out.push_back(Encode1252(c));
  return out;
}

std::u32string DecodeWindows1252(const std::string& text) {
  std::u32string out;
  out.reserve(text.size());
  for (unsigned char b : text) {
    char32_t c = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : b;
    out.push_back(c ? c : kReplacement);
  }
  return out;
}

std::u32string DecodeLatin1(const unsigned char* p, size_t n) {
  std::u32string out;
  for (size_t i = 0; i < n && p[i] != 0; ++i) out.push_back(p[i]);
  return out;
}

std::u32string DecodeUtf8(const unsigned char* p, size_t n) {
  std::u32string out;
  size_t i = 0;
  while (i < n && p[i] != 0) {
    int len = Utf8Length(p[i]);
    if (len == 0 || len > static_cast<int>(n - i)) {
      out.push_back(kReplacement);
      ++i;
      continue;
    }
    char32_t c = len == 1 ? p[i] : p[i] & (0x7F >> len);
    int k = 1;
    for (; k < len && (p[i + k] & 0xC0) == 0x80; ++k) c = (c << 6) | (p[i + k] & 0x3F);
    if (k < len || !ValidCodePoint(c, len)) {
      out.push_back(kReplacement);
      i += k;
      continue;
    }
    out.push_back(c);
    i += len;
  }
  return out;
}

std::u32string DecodeUtf16(const unsigned char* p, size_t n, bool bigEndian) {
  size_t i = 0;
  if (n >= 2 && p[0] == 0xFF && p[1] == 0xFE)
    bigEndian = false, i = 2;
  else if (n >= 2 && p[0] == 0xFE && p[1] == 0xFF)
    bigEndian = true, i = 2;
  auto unit = [&](size_t at) -> char32_t {
    return bigEndian ? (p[at] << 8 | p[at + 1]) : (p[at + 1] << 8 | p[at]);
  };
  std::u32string out;
  for (; i + 1 < n; i += 2) {
    char32_t u = unit(i);
    if (u == 0) break;
    if (u >= 0xD800 && u <= 0xDBFF && i + 3 < n) {
      char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        out.push_back(0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    out.push_back((u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
  }
  return out;
}

std::string EncodeUtf8(const std::u32string& text) {
  std::string out;
  for (char32_t c : text) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

std::string AnsiToUtf8(const std::string& text) {
  return EncodeUtf8(DecodeAnsi(text));
}

std::string Utf8ToAnsi(const std::string& text) {
  return EncodeAnsi(DecodeUtf8(reinterpret_cast<const unsigned char*>(text.data()), text.size()));
}

namespace {

// The length of the well-formed UTF-8 sequence at p[0..n), or 0 when none starts there.
size_t SequenceLength(const unsigned char* p, size_t n) {
  int len = Utf8Length(p[0]);
  if (len == 0 || static_cast<size_t>(len) > n) return 0;
  char32_t c = len == 1 ? p[0] : p[0] & (0x7F >> len);
  for (int k = 1; k < len; ++k) {
    if ((p[k] & 0xC0) != 0x80) return 0;
    c = (c << 6) | (p[k] & 0x3F);
  }
  return ValidCodePoint(c, len) ? static_cast<size_t>(len) : 0;
}

}  // namespace

std::string CleanUtf8(const std::string& bytes) {
  return EncodeUtf8(DecodeUtf8(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

bool IsUtf8(const char* p, size_t n) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  for (size_t i = 0; i < n;) {
    size_t len = SequenceLength(u + i, n - i);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

size_t Utf8CutLength(const char* p, size_t n, size_t max) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  size_t kept = 0;
  while (kept < n) {
    size_t len = SequenceLength(u + kept, n - kept);
    if (len == 0) len = 1;  // a stray byte is a character of its own
    if (kept + len > max) break;
    kept += len;
  }
  return kept;
}

std::string Utf8FromUtf16(const char16_t* p, size_t n) {
  std::u32string text;
  for (size_t i = 0; i < n && p[i] != 0; ++i) {
    char32_t u = p[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && p[i + 1] >= 0xDC00 && p[i + 1] <= 0xDFFF) {
      text.push_back(0x10000 + ((u - 0xD800) << 10) + (p[i + 1] - 0xDC00));
      ++i;
    } else {
      text.push_back((u >= 0xD800 && u <= 0xDFFF) ? kReplacement : u);
    }
  }
  return EncodeUtf8(text);
}

std::u16string Utf16FromUtf8(const std::string& utf8) {
  std::u16string out;
  for (char32_t c : DecodeUtf8(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size())) {
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

}  // namespace spinox
