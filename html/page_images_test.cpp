#include "html/page_images.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/text.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

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
