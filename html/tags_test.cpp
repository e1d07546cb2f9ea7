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

HtmTagValues Values() {
  HtmTagValues v = {};
  SetField(v.size, "20");
  SetField(v.type, "Songs");
  SetField(v.date, "D");
  SetField(v.time, "T");
  SetField(v.sdate, "S");
  SetField(v.edate, "E");
  return v;
}

std::string Title(const char* text, const HtmTagValues& v = Values()) {
  std::string out;
  TagScanTxt(&out, text, v);
  return out;
}

std::string Template(const std::string& text) {
  HtmTableProps table = {};
  HtmRowProps row = {};
  TableListOnShow list;
  std::string out;
  TagScanTmpl(&out, text, Values(), HtmTableSource{&table, &row, &row, &list, 0});
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

class TagValues : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClockOverride(kNow);
    stored_._type = kListAlbums;
    stored_._period = kPeriodWeek;
    stored_._start = kNow - 604800;
    stored_._end = kNow;
    SetField(list_._theFilter, "abba");
    list_._hitlistsize = 17;
  }
  HtmTagValues Tags() {
    HtmTagValues v;
    GetTags(list_, &v, formats_);
    return v;
  }
  static constexpr int32_t kNow = 1700000000;  // 2023-11-14 23:13 in Berlin
  test::ScopedZone zone_{"Europe/Berlin"};
  const TimeFormats formats_ = {"%Y-%m-%d", "%H:%M"};
  test::TempDatabase db_;
  HitListSettings stored_ = {};
  ShownList list_{stored_};
};

TEST_F(TagValues, FromTheListOnShow) {
  HtmTagValues v = Tags();
  EXPECT_STREQ(v.size, "17");
  EXPECT_STREQ(v.type, "Albums");
  EXPECT_STREQ(v.date, "2023-11-14");
  EXPECT_STREQ(v.time, "23:13");
  EXPECT_STREQ(v.sdate, "2023-11-07");
  EXPECT_STREQ(v.edate, "2023-11-14");
  EXPECT_STREQ(v.filter, "");  // the value of no filter is not shown
  list_._filter = kFilterArtist;
  EXPECT_STREQ(Tags().filter, "abba");
  HtmTagValues tooLong;
  GetTags(list_, &tooLong, {"%Y-%m-%d %Y-%m-%d", "%H:%M"});
  EXPECT_STREQ(tooLong.date, "") << "too long for the field";
}

TEST_F(TagValues, AUserPeriodEndsOnItsLastDay) {
  stored_._period = kPeriodUser;
  stored_._end = 1721080800;  // 2024-07-16 00:00 in Berlin: the first second after 15 July
  EXPECT_STREQ(Tags().edate, "2024-07-15");
}

TEST_F(TagValues, AllReadsTheHitFile) {
  stored_._period = kPeriodAll;
  test::WriteHits({{0, 0, 0, 1000000}, {0, 0, 0, kNow + 86400 * 3}});
  HtmTagValues v = Tags();
  EXPECT_STREQ(v.sdate, "1970-01-12");
  EXPECT_STREQ(v.edate, "2023-11-17");
}

TEST(HtmlColors, Conversions) {
  char text[10];
  CREFToHTMColor(0x00A00000, text);
  EXPECT_STREQ(text, "#0000a0");
  CREFToHTMColor(0x0000FF12, text);
  EXPECT_STREQ(text, "#12ff00");
  CREFToHTMColor(0xFFFFFFFF, text);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(HTMColorToCREF("#0000a0"), 0x00A00000u);
  EXPECT_EQ(HTMColorToCREF("00ff00"), 0x0000FF00u);
  EXPECT_EQ(HTMColorToCREF("#fff"), 0x0000F0FFu);
  EXPECT_EQ(HTMColorToCREF("ff"), 0x000000FFu);
  EXPECT_EQ(HTMColorToCREF("#12"), 0x00000012u);
  EXPECT_EQ(HTMColorToCREF("#zz12zz"), 0x00001200u);
  EXPECT_EQ(HTMColorToCREF("#a"), 0x000000A0u);  // padded to a00000
  EXPECT_EQ(HTMColorToCREF("#FFFFFF99"), 0x00FFFFFFu);
  EXPECT_EQ(HTMColorToCREF("#"), 0xFFFFFFFFu);
  EXPECT_EQ(HTMColorToCREF(""), 0xFFFFFFFFu);
}

TEST(SampleTemplate, TheShippedFileIsTheInstalledOne) {
  std::vector<unsigned char> shipped =
      test::ReadBytes(test::TestDataPath("../../html/spinoxsampletemplate.htm"));
  ASSERT_FALSE(shipped.empty());
  EXPECT_EQ(std::string(shipped.begin(), shipped.end()), kSampleTemplate);
  test::TempDir dir;
  std::string path = dir.File(kSampleTemplateName);
  ASSERT_TRUE(InstallSampleTemplate(path));
  std::vector<unsigned char> installed = test::ReadBytes(path);
  std::string text(installed.begin(), installed.end());
  EXPECT_NE(text.find("%table\r\n"), std::string::npos);
  test::WriteBytes(path, {'m', 'i', 'n', 'e'});
  EXPECT_TRUE(InstallSampleTemplate(path));
  EXPECT_EQ(test::ReadBytes(path).size(), 4u);  // the user's own file stays
}

TEST(SampleTemplate, DeclaresTheAnsiCodePage) {
  EXPECT_EQ(SampleTemplateText(), kSampleTemplate);
  SetAnsiCodePage(nullptr, nullptr, "shift_jis");
  std::string text = SampleTemplateText();
  SetAnsiCodePage(nullptr, nullptr);
  EXPECT_NE(text.find("content=\"text/html; charset=shift_jis\">"), std::string::npos);
  EXPECT_EQ(text.find("1252"), std::string::npos);
}

}  // namespace
}  // namespace spinox
