#include "tags/inflate.h"

namespace spinox {

namespace {

constexpr int kMaxBits = 15;
constexpr int kMaxLengthCodes = 286;
constexpr int kMaxDistCodes = 30;
constexpr int kFixedLengthCodes = 288;

// A canonical Huffman code: how many codes have each length, and the symbols in code order.
struct Huffman {
  short count[kMaxBits + 1];
  short symbol[kFixedLengthCodes];
};

// Builds the code from the symbols' code lengths. Returns 0 for a complete code, the number
// of codes left unused for an incomplete one, a negative number for an over-subscribed one.
int Build(Huffman* h, const short* length, int n) {
  for (short& c : h->count) c = 0;
  for (int s = 0; s < n; ++s) h->count[length[s]]++;
  if (h->count[0] == n) return 0;  // no codes: any use of them fails to decode
  int left = 1;
  for (int len = 1; len <= kMaxBits; ++len) {
    left = left * 2 - h->count[len];
    if (left < 0) return left;
  }
  short offset[kMaxBits + 1] = {};
  for (int len = 1; len < kMaxBits; ++len) offset[len + 1] = offset[len] + h->count[len];
  for (int s = 0; s < n; ++s) {
    if (length[s] != 0) h->symbol[offset[length[s]]++] = static_cast<short>(s);
  }
  return left;
}

// An incomplete code is allowed only when it holds a single code of one bit.
bool Usable(int built, const Huffman& h, int n) {
  return built == 0 || (built > 0 && n - h.count[0] == 1 && h.count[1] == 1);
}

const short kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                               31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const short kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const short kDistBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                             33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                             1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const short kDistExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                              6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
const unsigned char kCodeLengthOrder[19] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                            11, 4,  12, 3, 13, 2, 14, 1, 15};

class Inflater {
 public:
  Inflater(const unsigned char* in, size_t n, size_t maxOut, std::vector<unsigned char>* out)
      : in_(in), n_(n), maxOut_(maxOut), out_(*out) {}
  InflateResult Run();

 private:
  // The next `need` bits (at most 16), least significant first; -1 when the input has ended.
  int Bits(int need);
  // One symbol of the code; -1 when the input ends, -2 for a bit string that is no code.
  int Decode(const Huffman& h);
  bool Stored();
  bool Codes(const Huffman& lengths, const Huffman& dists);
  bool Fixed();
  bool Dynamic();
  bool Emit(unsigned char b);

  const unsigned char* in_;
  size_t n_;
  size_t pos_ = 0;
  uint32_t bitBuf_ = 0;
  int bitCount_ = 0;
  size_t maxOut_;
  bool tooLong_ = false;
  std::vector<unsigned char>& out_;
};

int Inflater::Bits(int need) {
  uint32_t v = bitBuf_;
  while (bitCount_ < need) {
    if (pos_ == n_) return -1;
    v |= static_cast<uint32_t>(in_[pos_++]) << bitCount_;
    bitCount_ += 8;
  }
  bitBuf_ = v >> need;
  bitCount_ -= need;
  return static_cast<int>(v & ((1u << need) - 1));
}

int Inflater::Decode(const Huffman& h) {
  int code = 0, first = 0, index = 0;
  for (int len = 1; len <= kMaxBits; ++len) {
    int bit = Bits(1);
    if (bit < 0) return -1;
    code |= bit;
    int count = h.count[len];
    if (code - count < first) return h.symbol[index + (code - first)];
    index += count;
    first = (first + count) << 1;
    code <<= 1;
  }
  return -2;
}

bool Inflater::Emit(unsigned char b) {
  if (out_.size() >= maxOut_) {
    tooLong_ = true;
    return false;
  }
  out_.push_back(b);
  return true;
}

bool Inflater::Stored() {
  bitBuf_ = 0, bitCount_ = 0;  // the block's length starts at the next byte
  if (n_ - pos_ < 4) return false;
  unsigned len = in_[pos_] | in_[pos_ + 1] << 8;
  unsigned notLen = in_[pos_ + 2] | in_[pos_ + 3] << 8;
  pos_ += 4;
  if (len != (~notLen & 0xFFFFu)) return false;
  if (n_ - pos_ < len) return false;
  for (unsigned i = 0; i < len; ++i) {
    if (!Emit(in_[pos_ + i])) return false;
  }
  pos_ += len;
  return true;
}

bool Inflater::Codes(const Huffman& lengths, const Huffman& dists) {
  for (;;) {
    int symbol = Decode(lengths);
    if (symbol < 0) return false;
    if (symbol < 256) {
      if (!Emit(static_cast<unsigned char>(symbol))) return false;
      continue;
    }
    if (symbol == 256) return true;
    symbol -= 257;
    if (symbol >= 29) return false;
    int extra = Bits(kLengthExtra[symbol]);
    if (extra < 0) return false;
    size_t len = static_cast<size_t>(kLengthBase[symbol] + extra);
    symbol = Decode(dists);
    if (symbol < 0 || symbol >= kMaxDistCodes) return false;
    extra = Bits(kDistExtra[symbol]);
    if (extra < 0) return false;
    size_t dist = static_cast<size_t>(kDistBase[symbol] + extra);
    if (dist > out_.size()) return false;  // reaches before the start of the output
    for (size_t i = 0; i < len; ++i) {
      if (!Emit(out_[out_.size() - dist])) return false;
    }
  }
}

bool Inflater::Fixed() {
  static Huffman lengths, dists;
  static const bool built = [] {
    short len[kFixedLengthCodes];
    for (int s = 0; s < kFixedLengthCodes; ++s)
      len[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
    Build(&lengths, len, kFixedLengthCodes);
    for (int s = 0; s < kMaxDistCodes; ++s) len[s] = 5;
    Build(&dists, len, kMaxDistCodes);
    return true;
  }();
  (void)built;
  return Codes(lengths, dists);
}

bool Inflater::Dynamic() {
  int nlen = Bits(5), ndist = Bits(5), ncode = Bits(4);
  if (nlen < 0 || ndist < 0 || ncode < 0) return false;
  nlen += 257, ndist += 1, ncode += 4;
  if (nlen > kMaxLengthCodes || ndist > kMaxDistCodes) return false;
  short len[kMaxLengthCodes + kMaxDistCodes] = {};
  for (int i = 0; i < ncode; ++i) {
    int v = Bits(3);
    if (v < 0) return false;
    len[kCodeLengthOrder[i]] = static_cast<short>(v);
  }
  Huffman lengths, dists;
  if (Build(&lengths, len, 19) != 0) return false;  // the code length code must be complete
  for (int index = 0; index < nlen + ndist;) {
    int symbol = Decode(lengths);
    if (symbol < 0) return false;
    if (symbol < 16) {
      len[index++] = static_cast<short>(symbol);
      continue;
    }
    // 16 repeats the previous length 3..6 times; 17 and 18 give 3..10 and 11..138 zeros.
    if (symbol == 16 && index == 0) return false;
    short repeated = symbol == 16 ? len[index - 1] : 0;
    int extra = Bits(symbol == 16 ? 2 : symbol == 17 ? 3 : 7);
    if (extra < 0) return false;
    int times = (symbol == 18 ? 11 : 3) + extra;
    if (index + times > nlen + ndist) return false;
    while (times--) len[index++] = repeated;
  }
  if (len[256] == 0) return false;  // no end-of-block code
  if (!Usable(Build(&lengths, len, nlen), lengths, nlen)) return false;
  if (!Usable(Build(&dists, len + nlen, ndist), dists, ndist)) return false;
  return Codes(lengths, dists);
}

InflateResult Inflater::Run() {
  out_.clear();
  if (n_ < 2) return InflateResult::kBroken;
  unsigned cmf = in_[0], flg = in_[1];
  // Method 8 (deflate) with a window of at most 32 KiB, a valid check, no preset dictionary.
  if ((cmf & 0x0F) != 8 || (cmf >> 4) > 7 || (cmf << 8 | flg) % 31 != 0 || (flg & 0x20))
    return InflateResult::kBroken;
  pos_ = 2;
  for (int last = 0; !last;) {
    last = Bits(1);
    int type = Bits(2);
    if (last < 0 || type < 0) return InflateResult::kBroken;
    bool ok = type == 0 ? Stored() : type == 1 ? Fixed() : type == 2 ? Dynamic() : false;
    if (!ok) return tooLong_ ? InflateResult::kTooLong : InflateResult::kBroken;
  }
  if (n_ - pos_ < 4) return InflateResult::kBroken;  // the check value starts at the next byte
  uint32_t check = static_cast<uint32_t>(in_[pos_]) << 24 | in_[pos_ + 1] << 16 |
                   in_[pos_ + 2] << 8 | in_[pos_ + 3];
  return check == Adler32(out_.data(), out_.size()) ? InflateResult::kOk : InflateResult::kBroken;
}

}  // namespace

uint32_t Adler32(const unsigned char* p, size_t n) {
  constexpr uint32_t kBase = 65521;
  constexpr size_t kRun = 5552;  // bytes that cannot overflow the sums before reducing them
  uint32_t a = 1, b = 0;
  while (n > 0) {
    size_t run = n < kRun ? n : kRun;
    for (size_t i = 0; i < run; ++i) a += p[i], b += a;
    a %= kBase, b %= kBase;
    p += run, n -= run;
  }
  return b << 16 | a;
}

InflateResult ZlibInflate(const unsigned char* in, size_t n, size_t maxOut,
                          std::vector<unsigned char>* out) {
  return Inflater(in, n, maxOut, out).Run();
}

}  // namespace spinox
