// libFuzzer target: the database operations over record files of arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_util.h"
#include "fuzz/records_driver.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  spinox::fuzz::RunRecordsInput(data, size, spinox::fuzz::ScratchDir());
  return 0;
}
