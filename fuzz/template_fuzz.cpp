// The page and display templates are the user's files and settings: every scanner of them must
// take any bytes. Also the strftime formats they carry and the colour texts.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "base/codepage.h"
#include "base/text.h"
#include "db/records.h"
#include "hitlist/time_text.h"
#include "html/color.h"
#include "html/html_writer.h"
#include "html/sample_template.h"
#include "html/tags.h"
#include "ui/osd/display_text.h"

namespace {

spinox::HtmTagValues Values() {
  spinox::HtmTagValues v = {};
  spinox::SetField(v.size, "12");
  spinox::SetField(v.type, "Songs");
  spinox::SetField(v.filter, "a<b>&\"");
  return v;
}

void ScanPage(const std::string& text) {
  spinox::HtmTableProps table = {};
  spinox::HtmRowProps row = {};
  spinox::SetField(row.face, "Default Font");
  spinox::SetField(row.size, "None");
  spinox::TableListOnShow list;
  list.columns = {{"#", 0x4000, 10}, {"Title", 2, 90}};
  list.rows = {{"1", text.substr(0, 120)}};
  list.listWidth = 100;
  std::string out;
  spinox::TagScanTmpl(&out, text, Values(), spinox::HtmTableSource{&table, &row, &row, &list, 3});
  std::string title = text.substr(0, spinox::kPathSize - 1);
  spinox::TagScanTxt(&out, title.c_str(), Values());
}

void ExpandDisplay(const std::string& text) {
  spinox::SongInfo song = {};
  std::memcpy(song.title, text.data(), std::min(text.size(), sizeof song.title));
  song.hits = 7;
  song.lastPlayed = text.empty() ? 0 : static_cast<int32_t>(text[0]) * 100000;
  spinox::DisplayContext context{1700000000, static_cast<int32_t>(text.size()) - 2,
                                 text.substr(0, 24), text.substr(text.size() / 2)};
  std::string shown =
      spinox::ExpandDisplayText(text.data(), std::min<size_t>(text.size(), 200), song, context);
  if (shown.size() > 499) __builtin_trap();
  spinox::FindNL(shown.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  ScanPage(text);
  std::string utf8 = spinox::TemplateAsUtf8(text);  // a template file as pages are filled in
  if (!spinox::IsUtf8(utf8.data(), utf8.size())) __builtin_trap();
  ExpandDisplay(text);
  spinox::FormatLocalTime(1700000000, text, 50);
  std::string color = text.substr(0, 9);
  spinox::HTMColorToCREF(color.c_str());
  return 0;
}
