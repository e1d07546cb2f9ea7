// The tags of HTML pages: "%size", "%type", "%date", "%time", "%sdate", "%edate", "%filter"
// and, in templates, "%table".
#pragma once
#include <cstdint>
#include <string>

#include "hitlist/shown_list.h"
#include "hitlist/time_text.h"
#include "html/html_writer.h"

namespace spinox {

// The tags' values for one page; NUL-terminated texts.
struct HtmTagValues {
  char size[10];
  char date[20];
  char time[20];
  char sdate[20];
  char edate[20];
  char type[10];
  char filter[124];
};

// Fills the values from the list on show, the user's date and time formats and the clock. For
// the period "All" the dates are the first play and the later of the last play and _end, read
// from the hit file.
void GetTags(const ShownList& list, HtmTagValues* tags, const TimeFormats& formats);

// What "%table" expands to.
struct HtmTableSource {
  const HtmTableProps* table;
  const HtmRowProps* top;
  const HtmRowProps* rest;
  ListOnShow* list;
  int32_t columnCount;
};

// Appends the template's bytes with the tags expanded; every byte value is copied.
void TagScanTmpl(std::string* out, const std::string& tmpl, const HtmTagValues& tags,
                 const HtmTableSource& table);
// Appends a text (the page title) with the tags expanded; "%table" stays as typed. The text
// ends at its first NUL.
void TagScanTxt(std::string* out, const char* text, const HtmTagValues& tags);

}  // namespace spinox
