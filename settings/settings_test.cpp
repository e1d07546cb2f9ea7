#include "settings/settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "base/clock.h"
#include "base/file.h"
#include "db/convert_text.h"
#include "db/paths.h"
#include "db/test_records.h"
#include "db/text_encoding.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

using test::Bytes;

constexpr int32_t kNow = 1700000000;

Bytes BytesOf(const Settings& s) {
  const auto* p = reinterpret_cast<const unsigned char*>(&s);
  return Bytes(p, p + sizeof s);
}

// The name of the first field in which two settings differ, "" when they are the same.
std::string FirstDifference(const Settings& got, const Settings& want) {
  Bytes a = BytesOf(got), b = BytesOf(want);
  for (const SettingsField& f : SettingsFields())
    if (std::memcmp(a.data() + f.offset, b.data() + f.offset, f.width) != 0) return f.name;
  return "";
}

// Every field given a value that differs from the defaults.
Settings Distinct() {
  Settings r = DefaultSettings();
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&r);
  int n = 1;
  for (const SettingsField& f : SettingsFields()) {
    ++n;
    if (f.kind == SettingsFieldKind::kMagic || f.offset == offsetof(Settings, version)) continue;
    if (f.kind == SettingsFieldKind::kText) {
      std::string text = std::string(f.name) + "-" + std::to_string(n);
      std::memset(bytes + f.offset, 0, f.width);
      std::memcpy(bytes + f.offset, text.data(), std::min<size_t>(text.size(), f.width - 1));
      continue;
    }
    for (int i = 0; i < f.width; i += 4) {
      int32_t v = 1000 + n * 10 + i;
      std::memcpy(bytes + f.offset + i, &v, 4);
    }
  }
  return r;
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetClockOverride(kNow); }
  std::string DatPath() const { return db.File(kSettingsFile); }
  test::TempDatabase db;
};

TEST_F(SettingsTest, FirstStartWritesTheDefaultFile) {
  ASSERT_TRUE(WriteDataFile(DefaultSettings()));
  Bytes b = test::ReadBytes(DatPath());
  ASSERT_EQ(b.size(), 3766u);
  EXPECT_EQ(0, std::memcmp(b.data(), "SPX\0", 4));
  auto word = [&](size_t at) {
    uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
  };
  // Offsets spelled out byte by byte, independently of the structs.
  // clang-format off
  const struct { size_t at; uint32_t word; } words[] = {
      {4, 151}, {8, 100}, {20, 400}, {24, 505}, {36, 350}, {52, kNow}, {56, kNow}, {60, 100},
      {72, 0xFFFFFFFF}, {80, 0x00A00000}, {84, 0x00FFFFFF}, {88, 0x00FF6600}, {92, 0xFFFFFFFF},
      {2346, 1}, {2350, 1}, {2854, 90}, {2866, 3}, {2870, 3}, {3410, 1}, {3414, 1}, {3418, 60},
      {3426, 30}, {3638, 10}, {3642, 50}, {3646, 0x00323232}, {3700, 1}, {3704, 50}, {3708, 100},
      {3762, 0}};
  const struct { size_t at; std::string text; } texts[] = {
      {2354, FullPath("spinoxsampletemplate.htm")}, {2604, "Top %size %type ( %sdate - %edate )"},
      {2878, "Default Font"}, {3438, "%title (%hits)\n%artist (%hitsartist)\n%album (%hitsalbum)"},
      {3650, "Arial"}, {3712, "%d/%m/%y"}, {3737, "%H:%M:%S"}};
  // clang-format on
  for (const auto& w : words) EXPECT_EQ(word(w.at), w.word) << w.at;
  for (const auto& t : texts)
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + t.at)), t.text) << t.at;
}

TEST_F(SettingsTest, FieldTableCoversTheLayoutInOrder) {
  int next = 0;
  for (const SettingsField& f : SettingsFields()) {
    EXPECT_EQ(f.offset, next) << f.name;
    next = f.offset + f.width;
  }
  EXPECT_EQ(next, kSettingsSize);
  // The conversion of an earlier version's texts knows the same text fields.
  std::vector<std::string> texts, converted;
  for (const SettingsField& f : SettingsFields()) {
    if (f.kind == SettingsFieldKind::kText)
      texts.push_back(f.name + (" " + std::to_string(f.offset)) + " " + std::to_string(f.width));
  }
  const TextLayout& layout = SettingsTextLayout();
  for (size_t i = 0; i < layout.count; ++i) {
    const TextSpan& s = layout.spans[i];
    converted.push_back(s.name + (" " + std::to_string(s.offset)) + " " + std::to_string(s.width));
  }
  EXPECT_EQ(converted, texts);
  EXPECT_EQ(layout.recSize, static_cast<size_t>(kSettingsSize));
}

// What LoadDatFile makes of each file: the settings as a whole, and whether they came from it.
TEST_F(SettingsTest, LoadTakesWhatTheFileHoldsAndDefaultsForTheRest) {
  const Settings distinct = Distinct(), defaults = DefaultSettings();
  Bytes whole = BytesOf(distinct);
  Settings cut = distinct;  // cut inside _txt_text: it and the fields after it are defaults
  std::memcpy(reinterpret_cast<char*>(&cut) + 3438, reinterpret_cast<const char*>(&defaults) + 3438,
              3766 - 3438);
  Settings other = distinct;  // another version, and a longer, later layout
  other.version = 7;
  Bytes otherBytes = BytesOf(other);
  otherBytes.insert(otherBytes.end(), 500, 0xAB);
  Settings unterminated = defaults;  // texts without their NUL are cut inside their fields
  std::memset(unterminated._date, 'x', sizeof unterminated._date);
  std::memset(unterminated._txt_font, 'y', sizeof unterminated._txt_font);
  Settings terminated = unterminated;
  terminated._date[24] = 0;
  terminated._txt_font[49] = 0;
  const struct {
    const char* name;
    bool present;
    Bytes file;
    bool fromFile;
    Settings want;
  } kCases[] = {
      {"no file", false, {}, false, defaults},
      {"what the conversion leaves", true, {'S', 'P', 'X', 0}, true, defaults},
      {"cut short", true, Bytes(whole.begin(), whole.begin() + 3500), true, cut},
      {"other version", true, otherBytes, true, other},
      {"unterminated texts", true, BytesOf(unterminated), true, terminated},
  };
  for (const auto& c : kCases) {
    std::remove(DatPath().c_str());
    if (c.present) test::PutFile(DatPath(), c.file);
    Settings got = Distinct();
    got._enabled = 5;  // the shell applies the stored flag itself
    DatFileLoad load = LoadDatFile(&got);
    EXPECT_EQ(load.fromFile, c.fromFile) << c.name;
    EXPECT_EQ(load.enabled, c.fromFile ? c.want._enabled : 1) << c.name;
    Settings want = c.want;
    want._enabled = 5;
    if (!c.fromFile) want._highlight = Distinct()._highlight;  // the defaults keep both flags
    EXPECT_EQ(FirstDifference(got, want), "") << c.name;
  }
}

// The file gets this layout's magic and version and each text with NULs after it.
TEST_F(SettingsTest, WriteThenLoadGivesTheSameSettings) {
  Settings s = Distinct();
  Settings want = s;
  s.version = 7;
  std::memcpy(s.magic, "XYZ", 4);
  std::memcpy(s._txt_text + std::strlen(s._txt_text) + 1, "stale", 5);
  std::memcpy(s.html._htm_top_img + std::strlen(s.html._htm_top_img) + 1, "stale", 5);
  ASSERT_TRUE(WriteDataFile(s));
  EXPECT_EQ(test::ReadBytes(DatPath()), BytesOf(want));
  Settings got = DefaultSettings();
  got._enabled = want._enabled;
  EXPECT_TRUE(LoadDatFile(&got).fromFile);
  EXPECT_EQ(FirstDifference(got, want), "");
}

TEST_F(SettingsTest, GetRectsOnlyFromARecognisedFileElseTheDefaults) {
  Settings placed = DefaultSettings();
  placed._rectHit = {10, 20, 30, 40};
  placed._rectTool = {50, 60, 70, 80};
  const struct {
    const char* name;
    Bytes file;  // none when empty
    int result;
    WindowRect hit, tool;
  } kCases[] = {
      {"no file", {}, 0, kDefaultHitRect, kDefaultToolRect},
      {"no magic", Bytes(3766, 0), 0, kDefaultHitRect, kDefaultToolRect},
      {"too short to hold them", {'S', 'P', 'X', 0}, 0, kDefaultHitRect, kDefaultToolRect},
      {"both", BytesOf(placed), 1, {10, 20, 30, 40}, {50, 60, 70, 80}},
  };
  for (const auto& c : kCases) {
    if (!c.file.empty()) test::PutFile(DatPath(), c.file);
    Settings s = Distinct(), want = Distinct();
    want._rectHit = c.hit;
    want._rectTool = c.tool;
    EXPECT_EQ(GetRects(&s), c.result) << c.name;
    EXPECT_EQ(FirstDifference(s, want), "") << c.name;
  }
}

TEST_F(SettingsTest, FailedWriteLeavesTheOldFile) {
  Settings s = DefaultSettings();
  ASSERT_TRUE(WriteDataFile(s));
  Bytes before = test::ReadBytes(DatPath());
  s._addTime = 43;
  SetWriteFault(1);
  EXPECT_FALSE(WriteDataFile(s));
  SetWriteFault(0);
  EXPECT_EQ(test::ReadBytes(DatPath()), before);
  EXPECT_FALSE(FileExists(DatPath() + ".tmp"));

  // A temporary file that cannot be created (a folder is in its way), even for root.
  ASSERT_EQ(mkdir((DatPath() + ".tmp").c_str(), 0700), 0);
  EXPECT_FALSE(WriteDataFile(s));
  EXPECT_EQ(test::ReadBytes(DatPath()), before);
  rmdir((DatPath() + ".tmp").c_str());
}

// What the loader does with a file that is not in this layout: an old single-file database is
// converted (or kept aside when it cannot be), anything else is set aside; then the defaults.
TEST_F(SettingsTest, LoaderConvertsOrSetsAsideAnOldDatabase) {
  auto word = [](int32_t v) {
    Bytes b;
    test::PutWord(&b, static_cast<uint32_t>(v));
    return b;
  };
  Bytes songs = test::SongBytes({0, 0, 0, "waterloo", "abba", "gold", "/m/w.mp3", 200});
  Bytes old = test::Join({word(8), Bytes(8, 0x5A), word(1), test::HitBytes(0, 0, 0, 100), word(1),
                          songs, word(1), test::ArtistBytes(0, "abba"), word(1),
                          test::AlbumBytes(0, "gold", "abba")});
  Bytes current(54 * 16, 0x11);
  const struct {
    const char* name;
    Bytes file;
    int writeFault;
    bool converted, setAside;
    Bytes songsAfter;
  } kCases[] = {
      {"old database", old, 0, true, false, songs},
      {"old database, conversion fails", old, 2, false, true, current},
      {"neither layout", {'S', 'P', 'Y', 0, 1, 2}, 0, false, true, current},
  };
  for (const auto& c : kCases) {
    std::remove(db.File("gen_spinox.dat.bad").c_str());
    for (const char* name : {kHitFile, kSongFile, kArtistFile, kAlbumFile})
      test::PutFile(db.File(name), current);
    test::PutFile(DatPath(), c.file);
    Settings s = Distinct();
    s._highlight = 0;
    SetWriteFault(c.writeFault);
    DatFileLoad load = LoadDatFile(&s);
    SetWriteFault(0);
    EXPECT_EQ(load.converted, c.converted) << c.name;
    EXPECT_EQ(load.setAside, c.setAside) << c.name;
    EXPECT_FALSE(load.fromFile) << c.name;
    Settings want = DefaultSettings();
    want._enabled = s._enabled;
    EXPECT_EQ(FirstDifference(s, want), "") << c.name;
    EXPECT_EQ(test::ReadBytes(db.File(kSongFile)), c.songsAfter) << c.name;
    if (c.setAside) {
      EXPECT_EQ(test::ReadBytes(db.File("gen_spinox.dat.bad")), c.file) << c.name;
    }
  }
}

TEST(RectWidth, AnyNumbersWithoutOverflow) {
  const struct {
    WindowRect r;
    int32_t width, height;
  } kCases[] = {
      {{100, 100, 500, 400}, 400, 300},
      {{INT32_MIN, INT32_MIN, 0, 0}, INT32_MAX, INT32_MAX},
      {{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}, INT32_MIN, INT32_MIN},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(RectWidth(c.r), c.width);
    EXPECT_EQ(RectHeight(c.r), c.height);
  }
}

// An earlier version's settings are converted with its database before they are taken; when
// that cannot be done now, the texts are still UTF-8 in memory and go back to the file in the
// ANSI code page, so the folder stays wholly an earlier version's.
TEST_F(SettingsTest, AnEarlierVersionsTextsAreTakenAsUtf8) {
  const std::string title =
      "Meine Lieblingslieder \xe2\x80\x93 \xc3\x9c"
      "bersicht";
  const std::string ansiTitle =
      "Meine Lieblingslieder \x96 \xdc"
      "bersicht";
  auto putAnsiFolder = [&] {
    std::remove(db.File(kUtf8MarkerFile).c_str());
    for (const char* name : {kHitFile, kSongFile, kArtistFile, kAlbumFile, kSettingsFile})
      test::PutFile(db.File(name),
                    test::ReadBytes(test::TestDataPath(std::string("ansi_db/") + name)));
  };
  // The last write step of a load that converts ends the change; the settings file is then taken
  // away, as if it could not be read again.
  putAnsiFolder();
  Settings counted = DefaultSettings();
  SetIoFault({});
  LoadDatFile(&counted);
  const int rereadStep = IoStepCount();
  static std::string datPath;
  datPath = DatPath();
  const struct {
    const char* what;
    int failingStep;
    void (*onFault)();
    bool fails;  // the conversion
  } kCases[] = {{"conversion", 0, nullptr, false},
                {"conversion fails", 1, nullptr, true},
                {"the converted file cannot be read again", rereadStep,
                 [] { std::remove(datPath.c_str()); }, false}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.what);
    const bool fails = c.fails;
    putAnsiFolder();
    Settings s = DefaultSettings();
    SetIoFault({c.failingStep, false, c.onFault});
    DatFileLoad load = LoadDatFile(&s);
    EXPECT_EQ(load.textsConverted, !fails);
    EXPECT_EQ(load.textsAnsi, fails);
    EXPECT_EQ(FieldText(s.html._htmDialog.pageTitle), title);
    EXPECT_EQ(FieldText(s._txt_font),
              "Franklin Gothic M\xc3\xa9"
              "dium");
    SetIoFault({fails ? 1 : 0, false, nullptr});
    ASSERT_TRUE(WriteDataFile(s));
    SetIoFault({});
    Settings stored;
    ASSERT_TRUE(ReadSettingsFile(DatPath(), &stored));
    EXPECT_EQ(FieldText(stored.html._htmDialog.pageTitle), fails ? ansiTitle : title);
    EXPECT_EQ(FileExists(db.File(kUtf8MarkerFile)), !fails);
  }
}

}  // namespace
}  // namespace spinox
