// libFuzzer target: `spinox check` and `--repair` over databases damaged as the input says
// (fuzz/check_driver.h).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "fuzz/check_driver.h"
#include "fuzz/fuzz_util.h"

namespace {

// The repair puts its changes on the disk (fsync); in memory when the system offers a place.
const std::string& Folder() {
  static const std::string dir = [] {
    std::error_code ec;
    if (std::filesystem::is_directory("/dev/shm", ec))
      return "/dev/shm/" + std::filesystem::path(spinox::fuzz::ScratchDir()).filename().string() +
             "-check";
    return spinox::fuzz::ScratchDir() + "/check";
  }();
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  spinox::fuzz::RunCheckInput(data, size, Folder());
  return 0;
}
