// Texts from the record files and tags as the tool prints them for a terminal.
#pragma once
#include <string>

namespace spinox::cli {

// ANSI text as UTF-8 with every control character (C0, DEL and C1) shown as \xNN, so that a
// stored name can neither move the cursor, recolour or clear the terminal, nor break a line or
// a tab-separated field. `keepLineFeeds` leaves line feeds as they are (display texts).
std::string TerminalText(const std::string& ansi, bool keepLineFeeds = false);

}  // namespace spinox::cli
