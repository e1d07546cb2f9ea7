#include "bench/bench_util.h"

#include <filesystem>

namespace spinox::bench {

std::string BenchDataDir(const std::string& name) {
  auto p = std::filesystem::temp_directory_path() / "spinox-bench" / name;
  std::filesystem::create_directories(p);
  return p.string();
}

}  // namespace spinox::bench
