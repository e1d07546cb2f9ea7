// The page, table and row settings of the HTML export as the settings file holds them.
#pragma once
#include <cstdint>

#include "settings/settings.h"
#include "html/html_writer.h"

namespace spinox {

// The 22 entries of the font size lists, by index.
const char* FontSizeText(int32_t index);

// Fills the four records from the dialog fields and the saved colours (_htm_table_bg,
// _htm_table_brd, _htm_top_bg, _htm_top_fg, _htm_rest_bg, _htm_rest_fg); the page colour is
// `pageBg` (not saved: none at every start).
void FillTableStruct(const HtmlSettings& dialog, uint32_t pageBg, HtmTableProps* table,
                     HtmRowProps* top, HtmRowProps* rest, HtmPageProps* page);

}  // namespace spinox
