#include "settings/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "base/clock.h"
#include "base/file.h"
#include "db/paths.h"
#include "db/test_records.h"
#include "hitlist/hitlist.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Bytes;

int32_t Word(const Bytes& b, size_t at) {
  int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

std::string Text(const Bytes& b, size_t at) {
  return std::string(reinterpret_cast<const char*>(b.data() + at));
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetClockOverride(1700000000);
    _highlight = 0;  // as at a first start: the defaults leave it alone
    _enabled = 1;    // what the shell's EnablePlug sets with the defaults
    SetDefaults();
  }
  std::string DatPath() const { return db.File(kSettingsFile); }
  test::TempDatabase db;
};

TEST_F(SettingsTest, FirstStartWritesTheDefaultFile) {
  ASSERT_TRUE(WriteDataFile());
  Bytes b = test::ReadBytes(DatPath());
  ASSERT_EQ(b.size(), 3766u);
  EXPECT_EQ(0, std::memcmp(b.data(), "SPX\0", 4));
  EXPECT_EQ(Word(b, 4), 151);
  // Offsets spelled out byte by byte, independently of the structs.
  // clang-format off
  const struct { size_t at; uint32_t word; } words[] = {
      {8, 100}, {20, 400}, {24, 505}, {36, 350}, {52, 1700000000}, {56, 1700000000}, {60, 100},
      {72, 0xFFFFFFFF}, {80, 0x00A00000}, {84, 0x00FFFFFF}, {88, 0x00FF6600}, {92, 0xFFFFFFFF},
      {2346, 1}, {2350, 1}, {2854, 90}, {2866, 3}, {2870, 3}, {3410, 1}, {3414, 1}, {3418, 60},
      {3426, 30}, {3638, 10}, {3642, 50}, {3646, 0x00323232}, {3700, 1}, {3704, 50}, {3708, 100},
      {3762, 0}};
  const struct { size_t at; std::string text; } texts[] = {
      {2354, FullPath("spinoxsampletemplate.htm")}, {2604, "Top %size %type ( %sdate - %edate )"},
      {2878, "Default Font"}, {3438, "%title (%hits)\n%artist (%hitsartist)\n%album (%hitsalbum)"},
      {3650, "Arial"}, {3712, "%d/%m/%y"}, {3737, "%H:%M:%S"}};
  // clang-format on
  for (const auto& w : words) EXPECT_EQ(static_cast<uint32_t>(Word(b, w.at)), w.word) << w.at;
  for (const auto& t : texts) EXPECT_EQ(Text(b, t.at), t.text) << t.at;
}

TEST_F(SettingsTest, FieldTableCoversTheLayoutInOrder) {
  int next = 0;
  for (const SettingsField& f : SettingsFields()) {
    EXPECT_EQ(f.offset, next) << f.name;
    next = f.offset + f.width;
  }
  EXPECT_EQ(next, kSettingsSize);
}

// Gives every byte of the record a value that differs from the defaults, field by field.
SettingsRecord Distinct() {
  SettingsRecord r = DefaultSettings();
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&r);
  int n = 1;
  for (const SettingsField& f : SettingsFields()) {
    if (f.kind == SettingsFieldKind::kMagic) continue;
    if (f.kind == SettingsFieldKind::kText) {
      std::string text = std::string(f.name) + "-" + std::to_string(n);
      std::memset(bytes + f.offset, 0, f.width);
      std::memcpy(bytes + f.offset, text.data(), std::min<size_t>(text.size(), f.width - 1));
    } else {
      for (int i = 0; i < f.width; i += 4) {
        int32_t v = 1000 + n * 10 + i;
        std::memcpy(bytes + f.offset + i, &v, 4);
      }
    }
    ++n;
  }
  r.version = kSettingsVersion;
  return r;
}

TEST_F(SettingsTest, EveryFieldSurvivesWriteAndLoad) {
  SettingsRecord want = Distinct();
  ApplySettings(want);
  _enabled = want.enabled;
  ASSERT_TRUE(WriteDataFile());
  SetDefaults();
  DatFileLoad load = LoadDatFile();
  EXPECT_TRUE(load.fromFile);
  EXPECT_EQ(load.enabled, +want.enabled);
  _enabled = load.enabled;  // as the shell's EnablePlug does
  SettingsRecord got = CurrentSettings();
  for (const SettingsField& f : SettingsFields()) {
    EXPECT_EQ(0, std::memcmp(reinterpret_cast<const char*>(&got) + f.offset,
                             reinterpret_cast<const char*>(&want) + f.offset, f.width))
        << f.name;
  }
  EXPECT_EQ(_addTime, +want.addTime);
  EXPECT_EQ(_size, +want.list._size);
  EXPECT_STREQ(_htmDialog.topFont, want.html.topFont);
}

TEST_F(SettingsTest, ShortFilesTakeDefaultsForWhatTheyLack) {
  test::PutFile(DatPath(), Bytes{'S', 'P', 'X', 0});  // what the conversion leaves
  _addTime = 5;
  DatFileLoad load = LoadDatFile();
  EXPECT_TRUE(load.fromFile);
  EXPECT_EQ(load.enabled, 1);
  EXPECT_EQ(_addTime, 60);
  EXPECT_EQ(_size, 100);
  EXPECT_EQ(_start, 1700000000);

  // Cut inside _txt_text: the fields before it load, the cut one and the rest are defaults.
  SettingsRecord r = Distinct();
  Bytes whole(reinterpret_cast<unsigned char*>(&r), reinterpret_cast<unsigned char*>(&r) + 3766);
  test::PutFile(DatPath(), Bytes(whole.begin(), whole.begin() + 3500));
  EXPECT_TRUE(LoadDatFile().fromFile);
  EXPECT_EQ(_txt, +r.txt);
  EXPECT_EQ(std::string(_txt_text), "%title (%hits)\n%artist (%hitsartist)\n%album (%hitsalbum)");
  EXPECT_EQ(_txt_timeEnd, 10);
  EXPECT_EQ(std::string(_time), "%H:%M:%S");
}

// Neither the version word nor a longer, later layout stops the known fields loading.
TEST_F(SettingsTest, OtherVersionsLoadTheKnownFields) {
  SettingsRecord r = Distinct();
  r.version = 7;
  Bytes b(reinterpret_cast<unsigned char*>(&r), reinterpret_cast<unsigned char*>(&r) + 3766);
  b.insert(b.end(), 500, 0xAB);
  test::PutFile(DatPath(), b);
  EXPECT_TRUE(LoadDatFile().fromFile);
  EXPECT_EQ(_highlight, +r.highlight);
  EXPECT_EQ(_txt_y, +r.txtY);
}

TEST_F(SettingsTest, UnterminatedTextsAreCutInsideTheirFields) {
  SettingsRecord r = DefaultSettings();
  std::memset(r.date, 'x', sizeof r.date);
  std::memset(r.txtFont, 'y', sizeof r.txtFont);
  ASSERT_TRUE(WriteSettingsFile(DatPath(), r));
  LoadDatFile();
  EXPECT_EQ(std::string(_date), std::string(24, 'x'));
  EXPECT_EQ(std::string(_txt_font), std::string(49, 'y'));
}

TEST_F(SettingsTest, GetRectsOnlyFromARecognisedFile) {
  WindowRect hit = {1, 2, 3, 4}, tool = {5, 6, 7, 8};
  EXPECT_EQ(GetRects(&hit, &tool), 0);  // no file
  test::PutFile(DatPath(), Bytes(3766, 0));
  EXPECT_EQ(GetRects(&hit, &tool), 0);  // no magic
  test::PutFile(DatPath(), Bytes{'S', 'P', 'X', 0});
  EXPECT_EQ(GetRects(&hit, &tool), 0);  // too short to hold them
  EXPECT_EQ(+hit.left, 1);
  SettingsRecord r = DefaultSettings();
  r.hitRect = {10, 20, 30, 40};
  r.toolRect = {50, 60, 70, 80};
  ASSERT_TRUE(WriteSettingsFile(DatPath(), r));
  ASSERT_EQ(GetRects(&hit, &tool), 1);
  EXPECT_EQ(+hit.bottom, 40);
  EXPECT_EQ(+tool.left, 50);
}

TEST_F(SettingsTest, FailedWriteLeavesTheOldFile) {
  _addTime = 42;
  ASSERT_TRUE(WriteDataFile());
  Bytes before = test::ReadBytes(DatPath());
  _addTime = 43;
  SetWriteFault(1);
  EXPECT_FALSE(WriteDataFile());
  SetWriteFault(0);
  EXPECT_EQ(test::ReadBytes(DatPath()), before);
  EXPECT_FALSE(FileExists(DatPath() + ".tmp"));

  // A temporary file that cannot be created (a folder is in its way), even for root.
  ASSERT_EQ(mkdir((DatPath() + ".tmp").c_str(), 0700), 0);
  EXPECT_FALSE(WriteDataFile());
  EXPECT_EQ(test::ReadBytes(DatPath()), before);
  rmdir((DatPath() + ".tmp").c_str());
}

TEST_F(SettingsTest, DefaultsKeepHighlight) {
  _highlight = 1;
  _addTime = 3;
  SetDefaults();
  EXPECT_EQ(_highlight, 1);
  EXPECT_EQ(_addTime, 60);
  EXPECT_EQ(_rectTool.right, 900);
}

}  // namespace
}  // namespace spinox
