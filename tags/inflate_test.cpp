// The inflater against hand-made streams (one rule of the format each) and on streams zlib writes.
#include "tags/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

namespace spinox {
namespace {

using Bytes = std::vector<unsigned char>;
constexpr InflateResult kOk = InflateResult::kOk, kTooLong = InflateResult::kTooLong,
                        kBroken = InflateResult::kBroken;

Bytes Hex(const std::string& hex) {
  Bytes out;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    out.push_back(std::stoi(hex.substr(i, 2), nullptr, 16));
  return out;
}

struct Case {
  const char* name;
  const char* hex;
  InflateResult result;
  const char* out;  // when kOk
  size_t cap;       // 0: 64 KiB
};

// "hello" in a stored block, "ababab" as two literals and an overlapping match.
const char kHello[] = "789C010500FAFF68656C6C6F062C0215";
const char kAbab[] = "789C4B4C0241000804024A";

const Case kCases[] = {
    {"stored", kHello, kOk, "hello", 0},
    {"stored and fixed blocks", "789C000200FDFF7879AB020002D7016C", kOk, "xyz", 0},
    {"fixed code, overlapping match", kAbab, kOk, "ababab", 0},
    {"dynamic code, one one-bit distance code", "789C0DE0010900000080206CADFF234A5C05BE01EA", kOk,
     "abbbb", 0},
    {"output exactly at the cap", kHello, kOk, "hello", 5},
    {"output over the cap", kHello, kTooLong, "", 4},
    {"match over the cap", kAbab, kTooLong, "", 5},
    {"output fills the cap as the input ends", "789C327E", kBroken, "", 1},
    {"wrong check value", "789C010500FAFF68656C6C6F062C0216", kBroken, "", 0},
    {"check value cut short", "789C010500FAFF68656C6C6F062C02", kBroken, "", 0},
    {"stored length and complement disagree", "789C010500FAFE68656C6C6F062C0215", kBroken, "", 0},
    {"method other than deflate", "799C010000FFFF00000001", kBroken, "", 0},
    {"window larger than 32 KiB", "8898010000FFFF00000001", kBroken, "", 0},
    {"header check fails", "789D010000FFFF00000001", kBroken, "", 0},
    {"preset dictionary", "78BB00000001010000FFFF", kBroken, "", 0},
    {"block type 3", "789C0700000001", kBroken, "", 0},
    {"distance too far back", "789C4B04420003CE0185", kBroken, "", 0},
    {"length symbol 286", "789C1B030000000001", kBroken, "", 0},
    {"distance symbol 30", "789C4B043E0003CE0185", kBroken, "", 0},
    {"no end-of-block code", "789C05E0010900000080206CD5FF2704", kBroken, "", 0},
    {"repeat with nothing to repeat", "789C0DE00304000000000004", kBroken, "", 0},
    {"over-subscribed literal code", "789C05E0010900000080206CD5FF2314", kBroken, "", 0},
    {"incomplete code length code", "789C05E00109000000002064B57F091500620062", kBroken, "", 0},
    {"incomplete distance code", "789C05E1010900000080206CF5FF094B00620062", kBroken, "", 0},
    {"over-subscribed distance code", "789C05E2010900000080206CF5FF09550100620062", kBroken, "", 0},
};

TEST(Inflate, HandMadeStreams) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Bytes in = Hex(c.hex), out = {1, 2, 3};
    size_t cap = c.cap ? c.cap : 65536;
    EXPECT_EQ(ZlibInflate(in.data(), in.size(), cap, &out), c.result);
    if (c.result == kOk) {
      EXPECT_EQ(std::string(out.begin(), out.end()), c.out);
    }
    EXPECT_LE(out.size(), cap);
  }
}

// Noise, text-like bytes, long runs, and near repeats, which make every kind of block.
Bytes Sample(std::mt19937& rng, size_t n) {
  Bytes out(n);
  int kind = static_cast<int>(rng() % 4);
  for (size_t i = 0; i < n; ++i) {
    unsigned r = rng();
    out[i] = kind == 0         ? static_cast<unsigned char>(r)
             : kind == 1       ? static_cast<unsigned char>("etaoin shrdlu\n"[r % 14])
             : kind == 2       ? static_cast<unsigned char>(i / 300)
             : i > 64 && r % 4 ? out[i - 1 - r / 4 % 64]
                               : static_cast<unsigned char>(r);
  }
  return out;
}

Bytes Compress(const Bytes& in, int level, int windowBits, int strategy) {
  z_stream z{};
  EXPECT_EQ(deflateInit2(&z, level, Z_DEFLATED, windowBits, 8, strategy), Z_OK);
  Bytes out(deflateBound(&z, in.size()) + 16);
  z.next_in = const_cast<unsigned char*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

// Streams zlib writes (every level, window and strategy) decode to their data. Damaged streams
// are compared with zlib by the inflate fuzzer.
TEST(Inflate, DecodesWhatZlibWrites) {
  std::mt19937 rng(11);
  const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
  for (int i = 0; i < 1000; ++i) {
    Bytes data = Sample(rng, rng() % (i % 200 == 0 ? 100000 : 2000));
    Bytes z = Compress(data, static_cast<int>(rng() % 10), 9 + static_cast<int>(rng() % 7),
                       strategies[rng() % 5]);
    Bytes out;
    ASSERT_EQ(ZlibInflate(z.data(), z.size(), data.size(), &out), kOk) << i;
    ASSERT_EQ(out, data) << i;
  }
}

}  // namespace
}  // namespace spinox
