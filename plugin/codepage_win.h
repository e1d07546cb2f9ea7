// The system's ANSI code page as the encoding of every stored text.
#pragma once

namespace spinox {

// Installs the process's ANSI code page as the system's text encoding, and the system's short
// names for paths the code page cannot hold.
void InstallAnsiCodePage();

// Installs only the system's short names (GetShortPathNameW), by which an .m3u or the player's
// ANSI playlist message names a path the code page cannot hold. The tool installs this alone.
void InstallShortPathFinder();

}  // namespace spinox
