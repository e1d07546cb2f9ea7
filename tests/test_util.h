// Helpers shared by the unit tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace spinox::test {

// Where a test's folder goes: the system's temporary folder, or a memory file system where there
// is one (for tests that put files on the disk hundreds of times).
enum class Where { kTemp, kMemory };

// A fresh empty folder under the system's temporary folder, removed with its files at scope end.
class TempDir {
 public:
  explicit TempDir(Where where = Where::kTemp);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// A TempDir that is also the database folder for the test's duration; restores the clock.
class TempDatabase : public TempDir {
 public:
  explicit TempDatabase(Where where = Where::kTemp);
  ~TempDatabase();
};

// Local time follows `zone` (a tz name such as "Europe/Berlin") until scope end, whatever zone
// the suite runs in; then the zone before.
class ScopedZone {
 public:
  explicit ScopedZone(const char* zone);
  ~ScopedZone();
  ScopedZone(const ScopedZone&) = delete;
  ScopedZone& operator=(const ScopedZone&) = delete;

 private:
  bool had_;
  std::string before_;
};

std::vector<unsigned char> ReadBytes(const std::string& path);
std::string ReadText(const std::string& path);  // the bytes as they are; "" when none
void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes);
std::string TestDataPath(const std::string& name);

}  // namespace spinox::test
