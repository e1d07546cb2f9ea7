#include "base/text.h"

#include "base/codepage.h"

namespace spinox {

void MakeLower(char* text) {
  for (; *text; ++text) {
    if (*text >= 'A' && *text <= 'Z') *text = static_cast<char>(*text + 0x20);
  }
}

void CopyText(char* dst, size_t n, const char* src) {
  if (n == 0) return;
  // Up to three bytes past the cut show whether a sequence there is whole (and so is left out).
  size_t len = Utf8CutLength(src, strnlen(src, n + 2), n - 1);
  std::memcpy(dst, src, len);
  std::memset(dst + len, 0, n - len);
}

std::string FieldText(const char* field, size_t n) {
  return std::string(field, strnlen(field, n));
}

}  // namespace spinox
