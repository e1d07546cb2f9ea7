// A small decoder of zlib streams (a two-byte header, deflate blocks, an Adler-32 check), for
// compressed ID3v2 frames. The plug-in links no compression library, so this one is its own.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace spinox {

enum class InflateResult {
  kOk,       // the whole stream was decoded and its check value matched
  kTooLong,  // the stream would give more than the bytes allowed
  kBroken,   // a malformed header or block, a stream cut short, or a wrong check value
};

// Decodes the zlib stream in[0..n-1] into *out (replaced), producing at most maxOut bytes.
// Bytes after the check value are ignored. A preset dictionary is not supported (kBroken).
InflateResult ZlibInflate(const unsigned char* in, size_t n, size_t maxOut,
                          std::vector<unsigned char>* out);

uint32_t Adler32(const unsigned char* p, size_t n);

}  // namespace spinox
