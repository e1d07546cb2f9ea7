#include "html/tags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/clock.h"
#include "base/codepage.h"
#include "base/text.h"
#include "hitlist/shown_list.h"
#include "hitlist/test_db.h"
#include "html/color.h"
#include "html/sample_template.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

const HtmTagValues kValues = {"20", "D", "T", "S", "E", "Songs", ""};

std::string Title(const char* text) {
  std::string out;
  TagScanTxt(&out, text, kValues);
  return out;
}

std::string Template(const std::string& text) {
  HtmTableProps table = {};
  HtmRowProps row = {};
  TableListOnShow list;
  std::string out;
  TagScanTmpl(&out, text, kValues, HtmTableSource{&table, &row, &row, &list, 0});
  return out;
}

TEST(HtmlTags, RecognitionByPrefix) {
  const std::pair<const char*, const char*> cases[] = {
      {"Top %size %type ( %sdate - %edate )", "Top 20 Songs ( S - E )"},
      {"%datefoo", "Dfoo"},
      {"%dates, %times</b>", "Ds, Ts</b>"},
      {"%percent %xyz 50% %", "%percent %xyz 50% %"},
      {"%%date", "%D"},
      {"% date", "% date"},
      {"%Date %typ %typed", "%Date %typ Songsd"},
      {"%filter.", "."},
      {"%table", "%table"},
      {"", ""},
  };
  for (const auto& [text, expanded] : cases) EXPECT_EQ(Title(text), expanded) << text;
}

TEST(HtmlTags, TableOnlyInTemplates) {
  EXPECT_EQ(Template("a %table b").substr(0, 9), "a <table ");
  EXPECT_EQ(Template("a %tables").substr(Template("a %tables").size() - 10), "</table>\ns");
  std::string binary("%size\0%\xFF", 8);
  EXPECT_EQ(Template(binary), std::string("20\0%\xFF", 5));
}

// The dates, the time and the filter as one line.
std::string Shown(const HtmTagValues& v) {
  std::string out = v.date;
  for (const char* f : {v.time, v.sdate, v.edate, v.filter}) out += "|" + std::string(f);
  return out;
}

// A week of albums filtered by "abba" (the filter's value shown only while it filters), at a
// time that is late evening in Berlin; a user period ends on its last day; All reads the hit
// file; a date format too long for its field gives empty dates.
TEST(TagValues, FromTheListOnShow) {
  constexpr int32_t kNow = 1700000000, kWeekAgo = kNow - 604800;  // 2023-11-14 23:13 in Berlin
  constexpr int32_t kJuly16 = 1721080800;  // 00:00 in Berlin: the first second after 15 July
  const TimeFormats iso = {"%Y-%m-%d", "%H:%M"}, de = {"%d.%m.%y", "%H:%M:%S"},
                    tooLong = {"%Y-%m-%d %Y-%m-%d", "%H"};
  test::ScopedZone zone{"Europe/Berlin"};
  test::TempDatabase db;
  SetClockOverride(kNow);
  test::WriteHits({{0, 0, 0, 1000000}, {0, 0, 0, kNow + 86400 * 3}});
  HitListSettings stored = {};
  ShownList list{stored};
  stored._type = kListAlbums;
  SetField(list._theFilter, "abba");
  list._hitlistsize = 17;
  const struct {
    int32_t period, start, end, filter;
    const TimeFormats* formats;
    const char* shown;
  } kCases[] = {
      {kPeriodWeek, kWeekAgo, kNow, kFilterNone, &iso, "2023-11-14|23:13|2023-11-07|2023-11-14|"},
      {kPeriodWeek, kWeekAgo, kNow, kFilterArtist, &de, "14.11.23|23:13:20|07.11.23|14.11.23|abba"},
      {kPeriodWeek, kWeekAgo, kNow, kFilterNone, &tooLong, "|23|||"},
      {kPeriodUser, kNow, kJuly16, kFilterNone, &iso, "2023-11-14|23:13|2023-11-14|2024-07-15|"},
      {kPeriodAll, 0, kNow, kFilterNone, &iso, "2023-11-14|23:13|1970-01-12|2023-11-17|"},
  };
  for (const auto& c : kCases) {
    stored._period = c.period;
    stored._start = c.start;
    stored._end = c.end;
    list._filter = c.filter;
    HtmTagValues v;
    GetTags(list, &v, *c.formats);
    EXPECT_EQ(std::string(v.size) + " " + v.type, "17 Albums");
    EXPECT_EQ(Shown(v), c.shown);
  }
  ClearClockOverride();
}

TEST(HtmlColors, Conversions) {
  const std::pair<uint32_t, const char*> kToText[] = {
      {0x00A00000, "#0000a0"}, {0x0000FF12, "#12ff00"}, {0xFFFFFFFF, ""}};
  for (auto [color, text] : kToText) {
    char out[10];
    CREFToHTMColor(color, out);
    EXPECT_STREQ(out, text);
  }
  const std::pair<const char*, uint32_t> kFromText[] = {
      {"#0000a0", 0x00A00000},   {"00ff00", 0x0000FF00},  {"#fff", 0x0000F0FF}, {"ff", 0x000000FF},
      {"#12", 0x00000012},       {"#zz12zz", 0x00001200}, {"#a", 0x000000A0},  // padded to a00000
      {"#FFFFFF99", 0x00FFFFFF}, {"#", 0xFFFFFFFF},       {"", 0xFFFFFFFF},
  };
  for (auto [text, color] : kFromText) EXPECT_EQ(HTMColorToCREF(text), color) << text;
}

// The file shipped is the text installed (with Windows line ends); the user's own file stays.
TEST(SampleTemplate, TheShippedFileIsTheInstalledOne) {
  EXPECT_EQ(test::ReadText(test::TestDataPath("../../html/spinoxsampletemplate.htm")),
            kSampleTemplate);
  test::TempDir dir;
  const std::string path = dir.File(kSampleTemplateName);
  ASSERT_TRUE(InstallSampleTemplate(path));
  std::string crlf;
  for (char c : std::string(kSampleTemplate))
    crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  EXPECT_EQ(test::ReadText(path), crlf);
  test::WriteBytes(path, {'m', 'i', 'n', 'e'});
  EXPECT_TRUE(InstallSampleTemplate(path));
  EXPECT_EQ(test::ReadText(path), "mine");
}

// Pages are UTF-8: a template's declared charset says so, and an earlier version's template in
// the ANSI code page is read from it.
TEST(SampleTemplate, TemplatesAreFilledInAsUtf8) {
  const std::pair<const char*, const char*> kTemplates[] = {
      {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">",
       "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">"},
      {"<META CONTENT='text/html; CHARSET=shift_jis'>",
       "<META CONTENT='text/html; CHARSET=utf-8'>"},
      {"<meta charset=\"iso-8859-1\"><p>", "<meta charset=\"utf-8\"><p>"},
      {"<meta charset=koi8-r>", "<meta charset=utf-8>"},
      {"<head></head><p>charset=x</p>", "<head></head><p>charset=x</p>"},
      {"caf\xE9 charset=windows-1252>", "caf\xC3\xA9 charset=utf-8>"},
      {"\xE6\x9D\xB1\xE4\xBA\xAC charset=utf-8>", "\xE6\x9D\xB1\xE4\xBA\xAC charset=utf-8>"},
      {"no declaration \xFF", "no declaration \xC3\xBF"},
      {"charset=", "charset=utf-8"},
  };
  for (auto [in, out] : kTemplates) EXPECT_EQ(TemplateAsUtf8(in), out) << in;
  EXPECT_NE(std::string(kSampleTemplate).find("charset=utf-8\""), std::string::npos);
}

}  // namespace
}  // namespace spinox
