// libFuzzer target: restoring from arbitrary bytes. A restore either puts back exactly the
// records the file holds or changes nothing.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/file.h"
#include "db/backup.h"
#include "db/paths.h"
#include "fuzz/fuzz_util.h"

namespace {

const spinox::SectionFile* Files() {
  return spinox::kSectionFiles;
}

// A small database that a failed restore must leave as it is.
void PutDatabase() {
  const std::vector<unsigned char> bytes(1000, 0x42);
  for (int i = 0; i < spinox::kSectionCount; ++i) {
    spinox::File f(spinox::FullPath(Files()[i].name), "wb");
    f.Write(bytes.data(), bytes.size());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace spinox;
  SetDataDir(fuzz::ScratchDir());
  PutDatabase();
  std::string path = fuzz::WriteScratch("input.bak", data, size);
  RestoreResult result = RestoreBackupFile(path);
  if (result == RestoreResult::kRestored) {
    int64_t total = kBackupHeaderSize;
    for (int i = 0; i < kSectionCount; ++i) total += 4 + FileSize(FullPath(Files()[i].name));
    if (total != static_cast<int64_t>(size)) __builtin_trap();
  } else {
    for (int i = 0; i < kSectionCount; ++i) {
      if (FileSize(FullPath(Files()[i].name)) != 1000) __builtin_trap();
    }
  }
  return 0;
}
