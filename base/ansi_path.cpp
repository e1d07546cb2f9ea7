#include "base/ansi_path.h"

#include "base/codepage.h"

namespace spinox {

namespace {

ShortPathFn gShortPath = nullptr;

std::u32string Decoded(const std::string& utf8) {
  return DecodeUtf8(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size());
}

}  // namespace

void SetShortPathFinder(ShortPathFn find) {
  gShortPath = find;
}

bool AnsiHolds(const std::string& utf8) {
  if (!IsUtf8(utf8.data(), utf8.size())) return false;
  std::u32string text = Decoded(utf8);
  return text.size() == utf8.size() || DecodeAnsi(EncodeAnsi(text)) == text;
}

AnsiPath AnsiPathOf(const std::string& utf8) {
  if (AnsiHolds(utf8)) return AnsiPath{EncodeAnsi(Decoded(utf8)), true};
  std::string shortPath = gShortPath ? gShortPath(utf8) : std::string();
  if (!shortPath.empty() && AnsiHolds(shortPath))
    return AnsiPath{EncodeAnsi(Decoded(shortPath)), true};
  return AnsiPath{utf8, false};
}

}  // namespace spinox
