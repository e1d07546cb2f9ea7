#include "html/tags.h"

#include <algorithm>
#include <cstring>

#include "base/clock.h"
#include "base/file.h"
#include "base/text.h"
#include "db/records.h"
#include "hitlist/hitlist.h"
#include "hitlist/period.h"
#include "hitlist/shown_list.h"
#include "hitlist/time_text.h"

namespace spinox {

namespace {

enum class Tag { kNone, kDate, kEdate, kSdate, kTime, kType, kFilter, kSize, kTable };

struct TagName {
  const char* name;
  Tag tag;
};

// In the order they are tried; each is compared by its own length.
const TagName kTagNames[] = {{"date", Tag::kDate}, {"edate", Tag::kEdate}, {"sdate", Tag::kSdate},
                             {"time", Tag::kTime}, {"type", Tag::kType},   {"filter", Tag::kFilter},
                             {"size", Tag::kSize}, {"table", Tag::kTable}};

// The tag whose name follows the percent sign at text[at - 1] directly, and its name's length.
Tag Recognize(const char* text, size_t size, size_t at, bool withTable, size_t* length) {
  for (const TagName& t : kTagNames) {
    size_t n = std::strlen(t.name);
    if (t.tag == Tag::kTable && !withTable) continue;
    if (size - at >= n && std::memcmp(text + at, t.name, n) == 0) {
      *length = n;
      return t.tag;
    }
  }
  return Tag::kNone;
}

std::string Value(const char* field, size_t n) {
  return HtmlEscape(FieldText(field, n));
}

void AppendValue(std::string* out, Tag tag, const HtmTagValues& v, const HtmTableSource* table) {
  switch (tag) {
    case Tag::kDate:
      *out += Value(v.date, sizeof v.date);
      break;
    case Tag::kEdate:
      *out += Value(v.edate, sizeof v.edate);
      break;
    case Tag::kSdate:
      *out += Value(v.sdate, sizeof v.sdate);
      break;
    case Tag::kTime:
      *out += Value(v.time, sizeof v.time);
      break;
    case Tag::kType:
      *out += Value(v.type, sizeof v.type);
      break;
    case Tag::kFilter:
      *out += Value(v.filter, sizeof v.filter);
      break;
    case Tag::kSize:
      *out += Value(v.size, sizeof v.size);
      break;
    case Tag::kTable:
      htmTable(out, *table->table, *table->top, *table->rest, *table->list, table->columnCount);
      break;
    case Tag::kNone:
      break;
  }
}

// Copies text[0..size) with the tags expanded. A percent sign that starts no tag (also one
// followed by white space or ending the text) is copied and the scan goes on after it.
void Scan(std::string* out, const char* text, size_t size, const HtmTagValues& tags,
          const HtmTableSource* table) {
  size_t copied = 0;
  for (size_t i = 0; i < size; ++i) {
    if (text[i] != '%') continue;
    size_t length = 0;
    Tag tag = Recognize(text, size, i + 1, table != nullptr, &length);
    if (tag == Tag::kNone) continue;
    out->append(text + copied, i - copied);
    AppendValue(out, tag, tags, table);
    i += length;
    copied = i + 1;
  }
  out->append(text + copied, size - copied);
}

template <size_t N>
void SetDate(char (&field)[N], int32_t t, const std::string& format) {
  SetField(field, FormatLocalTime(t, format, N));
}

}  // namespace

void GetTags(const ShownList& list, HtmTagValues* tags, const TimeFormats& formats) {
  static const char* const kTypes[] = {"Songs", "Albums", "Artists", "Log"};
  const HitListSettings& s = list.settings;
  *tags = HtmTagValues{};
  SetField(tags->type, s._type >= 0 && s._type <= 3 ? kTypes[s._type] : "");
  const std::string &date = formats.date, &time = formats.time;
  int32_t now = ClockNow();
  SetDate(tags->date, now, date);
  SetDate(tags->time, now, time);
  int32_t start = s._start, end = ShownEnd(s._period, s._end);
  if (s._period == kPeriodAll) {
    start = list._first;
    end = list._last;
    int32_t first = 0, last = 0;
    if (FirstAndLastPlay(&first, &last)) {
      start = first;
      end = std::max(last, s._end);
    }
  }
  SetDate(tags->sdate, start, date);
  SetDate(tags->edate, end, date);
  if (list._filter != kFilterNone) SetField(tags->filter, FieldText(list._theFilter));
  SetField(tags->size, std::to_string(list._hitlistsize));
}

void TagScanTmpl(std::string* out, const std::string& tmpl, const HtmTagValues& tags,
                 const HtmTableSource& table) {
  Scan(out, tmpl.data(), tmpl.size(), tags, &table);
}

void TagScanTxt(std::string* out, const char* text, const HtmTagValues& tags) {
  Scan(out, text, std::strlen(text), tags, nullptr);
}

}  // namespace spinox
