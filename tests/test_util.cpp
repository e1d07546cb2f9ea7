#include "tests/test_util.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "base/clock.h"
#include "db/paths.h"
#include "db/text_encoding.h"

namespace spinox::test {

TempDir::TempDir(Where where) {
  std::filesystem::path base = std::filesystem::temp_directory_path();
  std::error_code ec;
  if (where == Where::kMemory && std::filesystem::is_directory("/dev/shm", ec)) base = "/dev/shm";
  std::string tmpl = (base / "spinox-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

// Marked as this version marks a folder at its first write, so that a test's database is never
// taken for an earlier version's (tests of those remove the marker).
TempDatabase::TempDatabase(Where where) : TempDir(where) {
  SetDataDir(path());
  std::ofstream(File(kUtf8MarkerFile)) << "spinox text utf-8\nfrom windows-1252\n";
}

TempDatabase::~TempDatabase() {
  ClearClockOverride();
}

ScopedZone::ScopedZone(const char* zone) {
  const char* before = std::getenv("TZ");
  had_ = before != nullptr;
  if (had_) before_ = before;
  setenv("TZ", zone, 1);
  tzset();
}

ScopedZone::~ScopedZone() {
  if (had_)
    setenv("TZ", before_.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
}

std::vector<unsigned char> ReadBytes(const std::string& path) {
  std::vector<unsigned char> bytes;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return bytes;
  int c;
  while ((c = std::fgetc(f)) != EOF) bytes.push_back(static_cast<unsigned char>(c));
  std::fclose(f);
  return bytes;
}

std::string ReadText(const std::string& path) {
  std::vector<unsigned char> bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

std::string TestDataPath(const std::string& name) {
  return std::string(SPINOX_TEST_DATA) + "/" + name;
}

}  // namespace spinox::test
