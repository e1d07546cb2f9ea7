// Shared set-up of the benchmarks.
#pragma once
#include <string>

namespace spinox::bench {

// A scratch folder for generated databases, kept between runs under build/bench-data.
std::string BenchDataDir(const std::string& name);

}  // namespace spinox::bench
