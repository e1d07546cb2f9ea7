#include "fuzz/fuzz_util.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace spinox::fuzz {

const std::string& ScratchDir() {
  static const std::string dir = [] {
    // In memory when the system has it: the database's changes sync their files to the disk,
    // which on a disk folder held every run for milliseconds.
    std::error_code ec;
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                     ? std::filesystem::path("/dev/shm")
                                     : std::filesystem::temp_directory_path();
    auto p = base / ("spinox-fuzz-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(p);
    return p.string();
  }();
  return dir;
}

std::string WriteScratch(const std::string& name, const uint8_t* data, size_t size) {
  std::string path = ScratchDir() + "/" + name;
  // A fresh file rather than a truncated one: ext4 writes a truncated file's new bytes out to
  // the disk when it is closed, which made every run wait for the disk.
  std::remove(path.c_str());
  FILE* f = std::fopen(path.c_str(), "wb");
  if (f) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  return path;
}

}  // namespace spinox::fuzz
