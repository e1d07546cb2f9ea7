// Fixed-width text fields: NUL-terminated UTF-8 strings in arrays of a set size.
#pragma once
#include <cstddef>
#include <cstring>
#include <string>

namespace spinox {

// Lowercases the ASCII capitals A..Z in place; every other byte stays.
void MakeLower(char* text);

// Copies src into dst[0..n-1], cut to at most n - 1 bytes between two UTF-8 characters (never
// inside one), and NUL-fills the rest of dst.
void CopyText(char* dst, size_t n, const char* src);

// The text of a field: its bytes up to the first NUL, never past n.
std::string FieldText(const char* field, size_t n);

template <size_t N>
void SetField(char (&dst)[N], const char* src) {
  CopyText(dst, N, src);
}
template <size_t N>
void SetField(char (&dst)[N], const std::string& src) {
  CopyText(dst, N, src.c_str());
}
template <size_t N>
std::string FieldText(const char (&field)[N]) {
  return FieldText(field, N);
}

}  // namespace spinox
