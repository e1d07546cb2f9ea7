// The readers under fuzzing read files, so each input is written to a scratch file first.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace spinox::fuzz {

// Writes the bytes to a per-process scratch file (named by `name`) and returns its path.
std::string WriteScratch(const std::string& name, const uint8_t* data, size_t size);
// A per-process scratch folder, created on first use.
const std::string& ScratchDir();

}  // namespace spinox::fuzz
