// The HTML page of the list on show: the built-in page around a table, or the user's template
// with its tags expanded.
#pragma once
#include <cstdint>
#include <string>

#include "db/records.h"
#include "html/list_on_show.h"

namespace spinox {

struct HtmTagValues;

constexpr int kColorTextSize = 10;
constexpr int kFaceSize = 100;
constexpr int kFontSizeTextSize = 5;

// Every text field is a NUL-terminated string within its array.
struct HtmTableProps {
  int32_t width;
  int32_t widthInPixels;  // 0: width in percent
  int32_t border;
  int32_t align;  // 0 default (no attribute), 1 left, 2 center, 3 right
  int32_t cellPadding;
  int32_t cellSpacing;
  char borderColor[kColorTextSize];  // "#rrggbb" or empty for none
  char bgColor[kColorTextSize];
  char background[kPathSize];  // image file name, empty for none
};

struct HtmRowProps {
  char face[kFaceSize];          // "Default Font": no face attribute
  char size[kFontSizeTextSize];  // "N..." ("None"): no size attribute
  int32_t align;                 // 0: the list view's column alignment
  int32_t bold;
  int32_t italic;
  char color[kColorTextSize];
  char bgColor[kColorTextSize];
  char background[kPathSize];
};

struct HtmPageProps {
  int32_t useTemplate;
  char templatePath[kPathSize];
  char title[kPathSize];  // may hold tags
  int32_t openInBrowser;
  char background[kPathSize];
  char bgColor[kColorTextSize];
};

// Text as HTML shows it: & < > and " written as character references.
std::string HtmlEscape(const std::string& text);

// Appends the table of `columnCount` columns of the list: a title row in the top row's style,
// then one row per list row in the other rows' style.
void htmTable(std::string* out, const HtmTableProps& table, const HtmRowProps& top,
              const HtmRowProps& rest, ListOnShow& list, int32_t columnCount);

// Writes the page to `path` (lines end with CR LF) through a temporary file renamed over it, so
// an existing page is replaced whole or not at all. Returns 1 when written; 0 when the file
// cannot be written or the template is asked for but cannot be read, with what went wrong in
// `error` (naming the file). The data folder's sample template, when it is the one chosen and
// is not there (a read-only folder it could not be installed in), is taken from its built-in
// text.
int WriteHtm(const HtmTableProps& table, const HtmRowProps& top, const HtmRowProps& rest,
             const HtmPageProps& page, const HtmTagValues& tags, const std::string& path,
             ListOnShow& list, int32_t columnCount, std::string* error = nullptr);

}  // namespace spinox
