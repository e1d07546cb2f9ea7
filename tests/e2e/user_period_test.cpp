// A user-defined period counts the days picked, whole, in the local time zone with its
// daylight-saving rule, and stays on those days from one session to the next. The suite runs
// in Europe/Berlin (scripts/wine_tests.sh): these days in July are UTC+2.
#include <windows.h>

#include <algorithm>
#include <ctime>

#include "tests/e2e/hitlist_util_win.h"

namespace spinox::e2e {
namespace {

// Berlin, summer: 15 July 2024 00:00:00 local is 14 July 22:00 UTC.
constexpr int32_t kJuly15 = 1720994400;
constexpr int32_t kJuly17 = kJuly15 + 2 * kDay;

struct PickerDay {
  WORD year, month, day;
};

class UserPeriodTest : public HitlistTest {
 protected:
  // A day picked, with a time of day the picker keeps but does not show.
  void Pick(int id, WORD day, WORD hour) {
    SYSTEMTIME st = {2024, 7, 0, day, hour, 30, 15, 0};
    SendDlgItemMessageA(Tool(), id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&st));
  }
  PickerDay Shown(int id) {
    SYSTEMTIME st = {};
    SendDlgItemMessageA(Tool(), id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&st));
    return PickerDay{st.wYear, st.wMonth, st.wDay};
  }
  void ExpectShown(int id, WORD day) {
    PickerDay d = Shown(id);
    EXPECT_EQ(d.year, 2024);
    EXPECT_EQ(d.month, 7);
    EXPECT_EQ(d.day, day) << (id == IDC_FROM ? "From" : "To");
  }
  SettingsRecord Saved() {
    SettingsRecord rec = {};
    EXPECT_TRUE(ReadSettingsFile(DataFile("gen_spinox.dat"), &rec));
    return rec;
  }
};

TEST_F(UserPeriodTest, TheZoneIsBerlinInSummer) {
  TIME_ZONE_INFORMATION zone;
  GetTimeZoneInformation(&zone);
  EXPECT_EQ(zone.Bias, -60) << "run the suite with TZ=Europe/Berlin (scripts/wine_tests.sh)";
  std::time_t t = kJuly15;
  std::tm* local = std::localtime(&t);
  ASSERT_NE(local, nullptr);
  EXPECT_EQ(local->tm_hour, 0) << "the C run-time follows the system's zone and its rule";
  EXPECT_EQ(local->tm_mday, 15);
}

TEST_F(UserPeriodTest, TheDaysPickedAreCountedWholeAndStayPut) {
  // One second either side of each bound.
  Record(kA, kJuly15 - 1);
  Record(kB, kJuly15);
  Record(kC, kJuly17 - 1);
  Record(kA, kJuly17);
  Start();
  Choose(IDC_PERIOD, 5);
  Pick(IDC_FROM, 15, 18);
  Pick(IDC_TO, 16, 6);
  Refresh(0, 5);
  EXPECT_EQ(Rows(), 2);
  std::vector<std::string> titles = ColumnCells(1);
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(titles, (Cells{"beta", "gamma"}));
  EXPECT_NE(Title().find("( 15/07/24 - 16/07/24 )"), std::string::npos) << Title();
  ExpectShown(IDC_FROM, 15);
  ExpectShown(IDC_TO, 16);

  // Three sessions: the period saved is the one shown and counted again.
  for (int session = 0; session < 3; ++session) {
    SCOPED_TRACE(session);
    player->Quit();
    SettingsRecord rec = Saved();
    EXPECT_EQ(rec.list._period, 5);
    EXPECT_EQ(rec.list._start, kJuly15);
    EXPECT_EQ(rec.list._end, kJuly17);
    player = std::make_unique<TestPlayer>();
    StartPlugin();
    ExpectShown(IDC_FROM, 15);
    ExpectShown(IDC_TO, 16);
    Click(Tool(), IDC_REFRESH);
    EXPECT_EQ(Rows(), 2);
  }
}

TEST_F(UserPeriodTest, OneDayIsADayFromEitherEndOfIt) {
  Record(kA, kJuly15 + 1);
  Record(kB, kJuly15 + kDay - 1);
  Record(kC, kJuly15 + kDay);
  Start();
  Choose(IDC_PERIOD, 5);
  Pick(IDC_FROM, 15, 23);
  Pick(IDC_TO, 15, 0);
  Refresh(0, 5);
  std::vector<std::string> titles = ColumnCells(1);
  std::sort(titles.begin(), titles.end());
  EXPECT_EQ(titles, (Cells{"alpha", "beta"}));
}

}  // namespace
}  // namespace spinox::e2e
