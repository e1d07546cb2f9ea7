// The inflater against the system's zlib on arbitrary deflate data. The first byte sets the
// output cap; the rest is the deflate data, wrapped in a zlib header and, where zlib decodes
// it, the right check value, so that the blocks themselves are what is compared.
#include <zlib.h>

#include <cstdlib>
#include <vector>

#include "tags/inflate.h"

namespace {

using Bytes = std::vector<unsigned char>;

// zlib's raw inflate: Z_STREAM_END, Z_DATA_ERROR or Z_BUF_ERROR; *used is the input it took.
int RawInflate(const unsigned char* in, size_t n, size_t cap, Bytes* out, size_t* used) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) std::abort();
  out->assign(cap, 0);
  z.next_in = const_cast<unsigned char*>(in);
  z.avail_in = static_cast<uInt>(n);
  z.next_out = out->data();
  z.avail_out = static_cast<uInt>(cap);
  int r = inflate(&z, Z_FINISH);
  out->resize(z.total_out);
  *used = z.total_in;
  bool full = z.avail_out == 0;
  inflateEnd(&z);
  if (r == Z_BUF_ERROR && !full) return Z_DATA_ERROR;  // the input ended inside the data
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 100000) return 0;
  size_t cap = 1 + static_cast<size_t>(data[0]) * 256;
  Bytes ref;
  size_t used = 0;
  int zr = RawInflate(data + 1, size - 1, cap, &ref, &used);
  Bytes stream = {0x78, 0x9C};
  stream.insert(stream.end(), data + 1, data + 1 + (zr == Z_STREAM_END ? used : size - 1));
  if (zr == Z_STREAM_END) {
    uint32_t check = static_cast<uint32_t>(adler32(1, ref.data(), static_cast<uInt>(ref.size())));
    for (int shift = 24; shift >= 0; shift -= 8)
      stream.push_back(static_cast<unsigned char>(check >> shift));
  }
  Bytes out;
  spinox::InflateResult r = spinox::ZlibInflate(stream.data(), stream.size(), cap, &out);
  if (out.size() > cap) std::abort();
  if ((zr == Z_STREAM_END) != (r == spinox::InflateResult::kOk)) std::abort();
  if (r == spinox::InflateResult::kOk && out != ref) std::abort();
  if (zr == Z_DATA_ERROR && r != spinox::InflateResult::kBroken) std::abort();
  // zlib stops when its output is full even where the input ends there too; the inflater
  // then finds the input cut short. So only: too long means zlib filled its output.
  if (r == spinox::InflateResult::kTooLong && zr != Z_BUF_ERROR) std::abort();
  return 0;
}
