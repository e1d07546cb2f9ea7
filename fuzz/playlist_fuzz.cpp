// Playlists are the user's files (the tool's --playlist): their reader must take any bytes and
// give well-formed UTF-8 entries; and every path must come out of the ANSI form of a playlist.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/ansi_path.h"
#include "base/codepage.h"
#include "hitlist/playlist.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  for (const std::string& entry : spinox::PlaylistEntries(text, "/music/\xC3\xA9t\xC3\xA9")) {
    if (!spinox::IsUtf8(entry.data(), entry.size())) __builtin_trap();
  }
  spinox::AnsiPath ansi = spinox::AnsiPathOf(text);
  // A path (up to a NUL, where it ends) that the code page holds is kept whole.
  std::string path = text.substr(0, text.find('\0'));
  if (ansi.exact && ansi.text.size() < spinox::DecodeUtf8(data, path.size()).size())
    __builtin_trap();
  return 0;
}
