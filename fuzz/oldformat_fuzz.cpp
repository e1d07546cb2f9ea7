// libFuzzer target: the old single-file database conversion on arbitrary gen_spinox.dat bytes.
// Either the file is split exactly, or the record files stay as they were.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/file.h"
#include "db/oldformat.h"
#include "db/paths.h"
#include "fuzz/fuzz_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace spinox;
  SetDataDir(fuzz::ScratchDir());
  const std::vector<unsigned char> before(700, 0x42);
  for (const SectionFile& file : kSectionFiles) {
    File f(FullPath(file.name), "wb");
    f.Write(before.data(), before.size());
  }
  fuzz::WriteScratch(kSettingsFile, data, size);
  OldFormatResult result = BreakDownOldVersionDatFile();
  int64_t total = 0;
  for (const SectionFile& file : kSectionFiles) {
    int64_t n = FileSize(FullPath(file.name));
    if (result != OldFormatResult::kConverted && n != 700) __builtin_trap();
    total += 4 + n;
  }
  if (result == OldFormatResult::kConverted) {
    int32_t blockLen = 0;
    std::memcpy(&blockLen, data, 4);
    if (total + 4 + blockLen != static_cast<int64_t>(size)) __builtin_trap();
    if (FileSize(FullPath(kSettingsFile)) != 4) __builtin_trap();
  }
  std::remove(FullPath(kSettingsFile).c_str());
  std::remove(FullPath("gen_spinox.dat.bad").c_str());
  return 0;
}
