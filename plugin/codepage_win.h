// The system's ANSI code page: the encoding of an earlier version's texts, of ID3v1 tags and of
// .m3u playlists (docs/database-format.md, "Text encoding").
#pragma once

namespace spinox {

// Installs the process's ANSI code page as the system's text encoding, and the system's short
// names for paths the code page cannot hold.
void InstallAnsiCodePage();

}  // namespace spinox
