// Replays the saved inputs that once upset the record-file readers (fuzz/records_fuzz.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fuzz/records_driver.h"
#include "tests/test_util.h"

namespace spinox {
namespace {

TEST(RecordFilesRegression, SavedInputsRunCleanly) {
  std::filesystem::path dir = test::TestDataPath("fuzz-regressions");
  int replayed = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    if (entry.path().filename().string().rfind("records-", 0) != 0) continue;
    SCOPED_TRACE(entry.path().string());
    std::vector<unsigned char> input = test::ReadBytes(entry.path().string());
    test::TempDatabase db;
    fuzz::RunRecordsInput(input.data(), input.size(), db.path());
    ++replayed;
  }
  EXPECT_GT(replayed, 0);
}

}  // namespace
}  // namespace spinox
