// Texts as the tool prints them for a terminal, and the columns a terminal gives them.
#pragma once
#include <string>

namespace spinox::cli {

// UTF-8 text (malformed bytes shown as U+FFFD) with every control character (C0, DEL and C1)
// shown as \xNN, so that a name can neither move the cursor, recolour or clear the terminal,
// nor break a line or a tab-separated field. `keepLineFeeds` leaves line feeds as they are
// (display texts).
std::string TerminalText(const std::string& utf8, bool keepLineFeeds = false);

// The columns a terminal gives UTF-8 text: East Asian wide and emoji characters take two,
// combining marks and other zero-width characters none, every other character one.
size_t ColumnWidth(const std::string& utf8);

}  // namespace spinox::cli
