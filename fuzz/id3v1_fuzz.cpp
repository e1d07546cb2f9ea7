// ID3v1 reader on arbitrary file contents, with some fields already filled, under the default
// code page or one that decodes bytes to any code point (surrogates and values past U+10FFFF
// included): every field stays terminated and well-formed UTF-8.
#include <cstdlib>
#include <cstring>

#include "base/codepage.h"
#include "base/text.h"
#include "tags/id3.h"

namespace {

std::u32string DecodeWild(const std::string& text) {
  std::u32string out;
  for (unsigned char b : text) out.push_back(static_cast<char32_t>(b) * 0x11111u);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  spinox::TagFile f(data, size);
  spinox::TrackTag tag{};
  if (size > 0 && data[0] & 1) spinox::SetField(tag.artist, "kept");
  if (size > 0 && data[0] & 2) spinox::SetAnsiCodePage(nullptr, DecodeWild);
  int has = spinox::HasId3v1(f, &tag);
  spinox::ReadId3v1(f, &tag);
  spinox::SetAnsiCodePage(nullptr, nullptr);
  if (has && size < 128) std::abort();
  for (const char* f : {tag.title, tag.artist, tag.album}) {
    size_t n = strnlen(f, spinox::kNameSize);
    if (n >= static_cast<size_t>(spinox::kNameSize) || !spinox::IsUtf8(f, n)) std::abort();
  }
  if (size > 0 && data[0] & 1 && std::strcmp(tag.artist, "kept") != 0) std::abort();
  return 0;
}
