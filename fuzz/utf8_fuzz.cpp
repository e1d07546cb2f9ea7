// The cut of texts into fixed fields and the UTF-8/UTF-16 conversions on arbitrary bytes.
#include <cstdlib>
#include <cstring>
#include <string>

#include "base/codepage.h"
#include "base/text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const bool wellFormed = spinox::IsUtf8(bytes.data(), bytes.size());
  const size_t max = size > 0 ? data[0] % 64 : 0;
  const size_t cut = spinox::Utf8CutLength(bytes.data(), bytes.size(), max);
  if (cut > max || cut > size) std::abort();
  // A cut of well-formed text is well-formed, and as long as it can be: the next character
  // would not have fitted.
  if (wellFormed && !spinox::IsUtf8(bytes.data(), cut)) std::abort();
  if (wellFormed && cut < size && cut + 1 <= max && (data[cut] & 0xC0) != 0x80 && data[cut] < 0x80)
    std::abort();

  char field[50];
  spinox::CopyText(field, sizeof field, bytes.c_str());
  size_t stored = strnlen(field, sizeof field);
  if (stored > 49) std::abort();
  for (size_t i = stored; i < sizeof field; ++i)
    if (field[i] != 0) std::abort();
  const size_t head = strnlen(bytes.c_str(), size);
  if (spinox::IsUtf8(bytes.data(), head) && !spinox::IsUtf8(field, stored)) std::abort();

  const std::string clean = spinox::CleanUtf8(bytes);
  if (!spinox::IsUtf8(clean.data(), clean.size())) std::abort();
  if (wellFormed && head == size && clean != bytes) std::abort();
  const std::u16string wide = spinox::Utf16FromUtf8(clean);
  if (spinox::Utf8FromUtf16(wide.data(), wide.size()) != clean) std::abort();
  std::u16string units(size / 2, u'\0');
  if (!units.empty()) std::memcpy(&units[0], data, units.size() * 2);
  const std::string back = spinox::Utf8FromUtf16(units.data(), units.size());
  if (!spinox::IsUtf8(back.data(), back.size())) std::abort();
  return 0;
}
