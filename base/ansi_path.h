// Paths for readers that take the ANSI code page: an .m3u playlist and the player's ANSI
// playlist message. Paths are UTF-8 everywhere else.
#pragma once
#include <string>

namespace spinox {

// The system's short (8.3) form of an existing path, in UTF-8; empty when it gives none.
using ShortPathFn = std::string (*)(const std::string& path);
// Installs the system's short names (the Windows shell does); null: there are none (natively).
void SetShortPathFinder(ShortPathFn find);

// True when the ANSI code page holds every character of the UTF-8 text exactly.
bool AnsiHolds(const std::string& utf8);

struct AnsiPath {
  std::string text;
  bool exact = true;  // false: `text` is the path's own UTF-8 bytes
};

// A UTF-8 path in the ANSI code page: the path itself when the code page holds it; else its
// short form when the system gives one the code page holds (it names the same file); else the
// path's UTF-8 bytes unchanged (not exact): no reader of the code page can open it, but the
// name is not lost, and readers that take UTF-8 lines (as Spinox's own do) still find it.
AnsiPath AnsiPathOf(const std::string& utf8);

}  // namespace spinox
