// The inflater against hand-made streams (each a rule of the format) and against the system's
// zlib on streams it writes and on damaged copies of them.
#include "tags/inflate.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>

namespace spinox {
namespace {

using Bytes = std::vector<unsigned char>;

Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

// The bytes of a literal, zero bytes included.
template <size_t N>
std::string Raw(const char (&s)[N]) {
  return std::string(s, N - 1);
}

struct Case {
  const char* name;
  std::string stream;
  InflateResult result;
  std::string out;  // when kOk
  size_t maxOut;
};

const Case kCases[] = {
    {"stored",
     Raw("\x78\x9C\x01\x05\x00\xFA\xFF"
         "hello\x06\x2C\x02\x15"),
     InflateResult::kOk, "hello", 1 << 16},
    {"stored and fixed blocks", Raw("\x78\x9C\x00\x02\x00\xFD\xFFxy\xAB\x02\x00\x02\xD7\x01\x6C"),
     InflateResult::kOk, "xyz", 1 << 16},
    {"fixed code with an overlapping match", Raw("\x78\x9C\x4B\x4C\x02\x41\x00\x08\x04\x02\x4A"),
     InflateResult::kOk, "ababab", 1 << 16},
    {"dynamic code with one one-bit distance code",
     Raw("\x78\x9C\x0D\xE0\x01\x09\x00\x00\x00\x80\x20\x6C\xAD\xFF\x23\x4A\x5C\x05\xBE"
         "\x01\xEA"),
     InflateResult::kOk, "abbbb", 1 << 16},
    {"output exactly at the cap",
     Raw("\x78\x9C\x01\x05\x00\xFA\xFF"
         "hello\x06\x2C\x02\x15"),
     InflateResult::kOk, "hello", 5},
    {"output over the cap",
     Raw("\x78\x9C\x01\x05\x00\xFA\xFF"
         "hello\x06\x2C\x02\x15"),
     InflateResult::kTooLong, "", 4},
    {"match over the cap", Raw("\x78\x9C\x4B\x4C\x02\x41\x00\x08\x04\x02\x4A"),
     InflateResult::kTooLong, "", 5},
    // zlib stops here with its output full; the input then ends inside the block.
    {"output fills the cap as the input ends", Raw("\x78\x9C\x32\x7E"), InflateResult::kBroken, "",
     1},
    {"wrong check value",
     Raw("\x78\x9C\x01\x05\x00\xFA\xFF"
         "hello\x06\x2C\x02\x16"),
     InflateResult::kBroken, "", 1 << 16},
    {"check value cut short",
     Raw("\x78\x9C\x01\x05\x00\xFA\xFF"
         "hello\x06\x2C\x02"),
     InflateResult::kBroken, "", 1 << 16},
    {"stored block cut short",
     Raw("\x78\x9C\x01\x05\x00\xFA\xFF"
         "hel"),
     InflateResult::kBroken, "", 1 << 16},
    {"stored length and its complement disagree",
     Raw("\x78\x9C\x01\x05\x00\xFA\xFE"
         "hello\x06\x2C\x02\x15"),
     InflateResult::kBroken, "", 1 << 16},
    {"method other than deflate", Raw("\x79\x9C\x01\x00\x00\xFF\xFF\x00\x00\x00\x01"),
     InflateResult::kBroken, "", 1 << 16},
    {"window larger than 32 KiB", Raw("\x88\x98\x01\x00\x00\xFF\xFF\x00\x00\x00\x01"),
     InflateResult::kBroken, "", 1 << 16},
    {"header check fails", Raw("\x78\x9D\x01\x00\x00\xFF\xFF\x00\x00\x00\x01"),
     InflateResult::kBroken, "", 1 << 16},
    {"preset dictionary", Raw("\x78\xBB\x00\x00\x00\x01\x01\x00\x00\xFF\xFF"),
     InflateResult::kBroken, "", 1 << 16},
    {"empty input", "", InflateResult::kBroken, "", 1 << 16},
    {"block type 3", Raw("\x78\x9C\x07\x00\x00\x00\x01"), InflateResult::kBroken, "", 1 << 16},
    {"distance too far back", Raw("\x78\x9C\x4B\x04\x42\x00\x03\xCE\x01\x85"),
     InflateResult::kBroken, "", 1 << 16},
    {"length symbol 286", Raw("\x78\x9C\x1B\x03\x00\x00\x00\x00\x01"), InflateResult::kBroken, "",
     1 << 16},
    {"distance symbol 30", Raw("\x78\x9C\x4B\x04\x3E\x00\x03\xCE\x01\x85"), InflateResult::kBroken,
     "", 1 << 16},
    {"no end-of-block code",
     Raw("\x78\x9C\x05\xE0\x01\x09\x00\x00\x00\x80\x20\x6C\xD5\xFF\x27\x04"),
     InflateResult::kBroken, "", 1 << 16},
    {"repeat with nothing to repeat", Raw("\x78\x9C\x0D\xE0\x03\x04\x00\x00\x00\x00\x00\x04"),
     InflateResult::kBroken, "", 1 << 16},
    {"over-subscribed literal code",
     Raw("\x78\x9C\x05\xE0\x01\x09\x00\x00\x00\x80\x20\x6C\xD5\xFF\x23\x14"),
     InflateResult::kBroken, "", 1 << 16},
    {"incomplete code length code", Raw("\x78\x9C\x0D\xE0\x01\x09\x00\x00\x00\x00\x00\x00"),
     InflateResult::kBroken, "", 1 << 16},
};

TEST(Inflate, HandMadeStreams) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    Bytes in = B(c.stream), out = B("stale");
    InflateResult r = ZlibInflate(in.data(), in.size(), c.maxOut, &out);
    EXPECT_EQ(r, c.result);
    if (r == InflateResult::kOk) {
      EXPECT_EQ(std::string(out.begin(), out.end()), c.out);
    }
    EXPECT_LE(out.size(), c.maxOut);
  }
}

// Data of several kinds: noise, text-like, long runs, and mixes that make every block type.
Bytes Sample(std::mt19937& rng, size_t n) {
  Bytes out(n);
  int kind = static_cast<int>(rng() % 4);
  for (size_t i = 0; i < n; ++i) {
    switch (kind) {
      case 0:
        out[i] = static_cast<unsigned char>(rng());
        break;
      case 1:
        out[i] = static_cast<unsigned char>("etaoin shrdlu\n"[rng() % 14]);
        break;
      case 2:
        out[i] = static_cast<unsigned char>(i / 300);
        break;
      default:
        out[i] = i > 64 && rng() % 4 ? out[i - 1 - rng() % 64] : static_cast<unsigned char>(rng());
    }
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

TEST(Inflate, DecodesWhatZlibWrites) {
  std::mt19937 rng(11);
  const int strategies[] = {Z_DEFAULT_STRATEGY, Z_FILTERED, Z_HUFFMAN_ONLY, Z_RLE, Z_FIXED};
  for (int i = 0; i < 200; ++i) {
    Bytes data = Sample(rng, rng() % (i % 10 == 0 ? 100000 : 3000));
    int level = static_cast<int>(rng() % 10), windowBits = 9 + static_cast<int>(rng() % 7);
    Bytes z = Compress(data, level, windowBits, strategies[rng() % 5]);
    Bytes out;
    ASSERT_EQ(ZlibInflate(z.data(), z.size(), data.size(), &out), InflateResult::kOk) << i;
    ASSERT_EQ(out, data) << i;
    if (!data.empty()) {
      EXPECT_EQ(ZlibInflate(z.data(), z.size(), data.size() - 1, &out), InflateResult::kTooLong);
    }
  }
}

// Damaged streams: where zlib decodes them, the inflater gives the same bytes; where zlib
// refuses them, so does the inflater.
TEST(Inflate, AgreesWithZlibOnDamagedStreams) {
  std::mt19937 rng(5);
  const size_t cap = 4096;
  int agreedOk = 0;
  for (int i = 0; i < 3000; ++i) {
    Bytes z = Compress(Sample(rng, rng() % 2000), static_cast<int>(rng() % 10), 15,
                       i % 3 == 0 ? Z_FIXED : Z_DEFAULT_STRATEGY);
    for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k) {
      if (z.empty()) break;
      size_t at = rng() % z.size();
      if (rng() % 8 == 0)
        z.resize(at);
      else if (at >= 2)  // a damaged header is covered by the hand-made streams
        z[at] ^= static_cast<unsigned char>(1u << (rng() % 8));
    }
    Bytes ref(cap);
    uLongf refLen = cap;
    int zr = uncompress(ref.data(), &refLen, z.data(), z.size());
    Bytes out;
    InflateResult r = ZlibInflate(z.data(), z.size(), cap, &out);
    if (zr == Z_OK) {
      ASSERT_EQ(r, InflateResult::kOk) << i;
      ref.resize(refLen);
      ASSERT_EQ(out, ref) << i;
      ++agreedOk;
    } else {
      ASSERT_NE(r, InflateResult::kOk) << i << " zlib " << zr;
    }
  }
  EXPECT_GT(agreedOk, 20);  // some damage leaves a decodable stream
}

TEST(Adler32, KnownValues) {
  EXPECT_EQ(Adler32(nullptr, 0), 1u);
  Bytes wiki = B("Wikipedia");
  EXPECT_EQ(Adler32(wiki.data(), wiki.size()), 0x11E60398u);
  Bytes big(100000, 0xFF);  // sums that need reducing many times
  EXPECT_EQ(Adler32(big.data(), big.size()), adler32(1, big.data(), static_cast<uInt>(big.size())));
}

}  // namespace
}  // namespace spinox
