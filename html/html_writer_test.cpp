#include "html/html_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/text.h"
#include "html/page_images.h"
#include "html/tags.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

// The lines of a text; a carriage return before a line feed is part of the line end.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t at; (at = text.find('\n', start)) != std::string::npos; start = at + 1)
    lines.push_back(
        text.substr(start, at > start && text[at - 1] == '\r' ? at - start - 1 : at - start));
  lines.push_back(text.substr(start));  // the part after the last line end
  return lines;
}

class HtmlPage : public ::testing::Test {
 protected:
  void SetUp() override {
    list_.columns = {{"Title", 0x4000, 300}, {"Hits", 0x4002, 100}};
    list_.rows = {{"Song", "5"}};
    list_.listWidth = 400;
  }
  std::string Write() {
    std::string path = dir_.File("out.htm");
    EXPECT_EQ(WriteHtm(table_, top_, rest_, page_, tags_, path, list_, 2), 1);
    return test::ReadText(path);
  }
  std::string Table() {
    std::string out;
    htmTable(&out, table_, top_, rest_, list_, static_cast<int32_t>(list_.columns.size()));
    return out;
  }
  HtmTableProps table_ = {100, 0, 1, 0, 0, 0, "", "", ""};           // 100% wide, a border of 1
  HtmRowProps top_ = {"Default Font", "None", 1, 1, 0, "", "", ""};  // left, bold
  HtmRowProps rest_ = {"Default Font", "None", 0, 0, 0, "", "", ""};
  HtmPageProps page_ = {0, "", "Top %size %type", 0, "", ""};
  HtmTagValues tags_ = {"1", "", "", "", "", "Songs", ""};
  TableListOnShow list_;
  test::TempDir dir_;
};

TEST_F(HtmlPage, TheExampleLineForLine) {
  std::vector<std::string> expected = {
      "<html>",
      "<head>",
      "<title>Top 1 Songs</title>",
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">",
      "</head><body><table width=\"100%\" border=\"1\"  cellpadding=\"0\" cellspacing=\"0\"    >",
      "<tr   >",
      "<td width=\"75%\"><div align=\"left\"><strong> <font    >Title</font></strong></div></td>",
      "<td width=\"25%\"><div align=\"left\"><strong> <font    >Hits</font></strong></div></td>",
      "</tr>",
      "<tr   >",
      "<td width=\"75%\"><div align=\"left\"> <font  >Song</font></div></td>",
      "<td width=\"25%\"><div align=\"center\"> <font  >5</font></div></td>",
      "</tr>",
      "</table>",
      "</body>",
      "</html>"};
  std::string lines;  // each ended by a carriage return and a line feed
  for (const std::string& line : expected) lines += line + "\r\n";
  EXPECT_EQ(Write() + "\r\n", lines);
  // The texts are UTF-8 whatever the ANSI code page is.
  SetAnsiCodePage(nullptr, nullptr, "windows-1251");
  std::string cyrillic = Write();
  SetAnsiCodePage(nullptr, nullptr);
  EXPECT_NE(cyrillic.find("content=\"text/html; charset=utf-8\">"), std::string::npos);
}

TEST_F(HtmlPage, ColumnJustificationWithOrWithoutTheListViewFlag) {
  std::string flagged = Table();
  list_.columns = {{"Title", 0, 300}, {"Hits", 2, 100}};
  EXPECT_EQ(Table(), flagged);
  list_.columns = {{"Title", 0x4001, 300}, {"Hits", 0x4003, 100}};  // right, then no justification
  std::string right = Table();
  EXPECT_NE(right.find("<td width=\"25%\"><div align=\"right\"> <font  >5</font>"),
            std::string::npos);
}

TEST_F(HtmlPage, RowStylesBoldItalicColoursAndImages) {
  top_ = {"Arial, Helvetica, sans-serif", "+2", 1, 1, 1, "#ffffff", "#0000a0", "top.png"};
  rest_ = {"Default Font", "-1", 3, 0, 1, "#00ff00", "", ""};  // right, italic
  std::vector<std::string> lines = Lines(Table());
  EXPECT_EQ(lines[1], "<tr bgcolor=\"#0000a0\" background=\"top.png\" >");
  EXPECT_EQ(lines[2],
            "<td width=\"75%\"><div align=\"left\"><em><strong> <font color=\"#ffffff\" "
            "size=\"+2\" face=\"Arial, Helvetica, sans-serif\" >Title</font></strong></em></div>"
            "</td>");
  EXPECT_EQ(lines[6],
            "<td width=\"75%\"><div align=\"right\"><em> <font color=\"#00ff00\"size=\"-1\" "
            ">Song</font></em></div></td>");
}

TEST_F(HtmlPage, TableAttributes) {
  table_ = {600, 1, 1, 2, 3, 4, "#123456", "#abcdef", "bg.gif"};  // pixels, centred
  EXPECT_EQ(
      Lines(Table())[0],
      "<table width=\"600\" border=\"1\" align=\"center\" cellpadding=\"3\" cellspacing=\"4\" "
      "bordercolor=\"#123456\" bgcolor=\"#abcdef\" background=\"bg.gif\" >");
  table_.widthInPixels = 0;
  table_.align = 0;
  EXPECT_EQ(Lines(Table())[0].rfind("<table width=\"600%\" border=\"1\"  cellpadding=", 0), 0u);
}

TEST_F(HtmlPage, BodyAttributesAndAnEmptyList) {
  page_ = {0, "", "Top %size %type", 0, "page.jpg", "#102030"};
  list_.rows.clear();
  std::vector<std::string> lines = Lines(Write());
  EXPECT_EQ(lines[4].substr(0, 59),
            "</head><body bgcolor=\"#102030\" background=\"page.jpg\"><table");
  ASSERT_EQ(lines.size(), 12u);  // the title row only
  EXPECT_EQ(lines[9], "</table>");
}

TEST_F(HtmlPage, ValuesFromTheDatabaseAreEscapedTheUsersTextIsNot) {
  list_.rows = {{"<script>alert(\"x\")</script> & co", "5"}};
  SetField(tags_.filter, "<b>&");
  SetField(page_.title, "<i>Top</i> & %filter");
  std::string page = Write();
  EXPECT_NE(page.find("<title><i>Top</i> & &lt;b&gt;&amp;</title>"), std::string::npos);
  EXPECT_NE(page.find(">&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt; &amp; co</font>"),
            std::string::npos);
  EXPECT_EQ(page.find("<script>"), std::string::npos);
}

TEST_F(HtmlPage, CellsAreCutTo99CharactersAndZeroWidthListsGiveZero) {
  list_.rows = {{std::string(150, 'a'), "5"}};
  list_.listWidth = 0;
  std::vector<std::string> lines = Lines(Table());
  EXPECT_EQ(lines[6], "<td width=\"0%\"><div align=\"left\"> <font  >" + std::string(99, 'a') +
                          "</font></div></td>");
}

TEST_F(HtmlPage, TemplateIsExpandedOrReportedMissing) {
  page_.useTemplate = 1;
  std::string path = dir_.File("out.htm");
  EXPECT_EQ(WriteHtm(table_, top_, rest_, page_, tags_, path, list_, 2), 0);  // no path
  EXPECT_TRUE(test::ReadText(path).empty());
  SetField(page_.templatePath, dir_.File("missing.htm"));
  EXPECT_EQ(WriteHtm(table_, top_, rest_, page_, tags_, path, list_, 2), 0);
  test::WriteBytes(dir_.File("t.htm"), {'<', 'p', '>', '%', 's', 'i', 'z', 'e', '\n', '%', 't', 'a',
                                        'b', 'l', 'e', '\r', '\n', 0xFF, 0x1A});
  SetField(page_.templatePath, dir_.File("t.htm"));
  std::string page = Write();
  EXPECT_EQ(page.substr(0, 6), "<p>1\r\n");
  EXPECT_EQ(page.substr(6, 7), "<table ");
  // Not UTF-8: the template was written in the ANSI code page.
  EXPECT_EQ(page.substr(page.size() - 15), "</table>\r\n\r\n\xC3\xBF\x1A");
}

TEST_F(HtmlPage, UnwritableOutputFails) {
  EXPECT_EQ(WriteHtm(table_, top_, rest_, page_, tags_, dir_.File("no/such/dir.htm"), list_, 2), 0);
}

TEST(ImageCopyName, OnlyTheNamePartOfWhatASettingsFileHolds) {
  const struct {
    const char* name;
    const char* copy;
  } kCases[] = {
      {"x.gif", "x.gif"},
      {"../../x.gif", "x.gif"},
      {"/etc/x.gif", "x.gif"},
      {"C:\\Windows\\x.gif", "x.gif"},
      {"C:x.gif", "x.gif"},
      {"a/b\\c.gif", "c.gif"},
      {"..", ""},
      {"sub/..", ""},
      {".", ""},
      {"", ""},
      {"dir/", ""},
  };
  for (const auto& c : kCases) EXPECT_EQ(ImageCopyName(c.name), c.copy) << c.name;
}

// Hostile names from a settings file place every copy beside the page; a file already there
// is kept; an image that cannot be read is counted.
TEST(CopyPageImages, BesideThePageOnly) {
  test::TempDir dir;
  std::string pages = dir.File("pages"), elsewhere = dir.File("elsewhere");
  std::filesystem::create_directories(pages);
  std::filesystem::create_directories(elsewhere);
  test::WriteBytes(dir.File("image.gif"), {'G', 'I', 'F'});
  test::WriteBytes(dir.File("other.png"), {'P', 'N', 'G'});
  test::WriteBytes(pages + "/kept.gif", {'o', 'l', 'd'});
  HtmlSettings html = {};
  SetField(html._htm_table_img, dir.File("image.gif"));
  SetField(html._htm_page_img, dir.File("other.png"));
  SetField(html._htm_top_img, dir.File("image.gif"));
  SetField(html._htm_rest_img, dir.File("missing.gif"));
  HtmTableProps table = {};
  HtmRowProps top = {}, rest = {};
  HtmPageProps page = {};
  SetField(table.background, "../elsewhere/table.gif");
  SetField(page.background, elsewhere + "/page.gif");
  SetField(top.background, "kept.gif");
  SetField(rest.background, "rest.gif");
  EXPECT_EQ(CopyPageImages({pages + "/page.htm", table, top, rest, page}, html), 1);  // rest
  for (auto [name, bytes] :
       {std::pair{"table.gif", "GIF"}, {"page.gif", "PNG"}, {"kept.gif", "old"}})
    EXPECT_EQ(test::ReadBytes(pages + "/" + name), std::vector<unsigned char>(bytes, bytes + 3));
  EXPECT_TRUE(std::filesystem::is_empty(elsewhere));
}

}  // namespace
}  // namespace spinox
