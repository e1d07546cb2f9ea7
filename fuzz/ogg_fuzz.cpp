// The whole tag dispatch on arbitrary file contents (inputs beginning with "Ogg" reach the
// comment reader); then the input as the comments of a Vorbis, an Opus and a FLAC stream: the
// three must read alike, and every field stays terminated and well-formed UTF-8.
#include <cstdlib>
#include <cstring>
#include <vector>

#include "base/codepage.h"
#include "base/text.h"
#include "tags/tag_io.h"
#include "tags/track_tag.h"

namespace {

using Bytes = std::vector<unsigned char>;

spinox::TrackTag ReadFile(const char* name, const uint8_t* data, size_t size) {
  spinox::TagFile f(data, size);
  spinox::TrackTag tag{};
  spinox::SetField(tag.file, name);
  int tagged = spinox::ReadTag(f, &tag);
  for (const char* f : {tag.title, tag.artist, tag.album}) {
    size_t n = strnlen(f, spinox::kNameSize);
    if (n >= static_cast<size_t>(spinox::kNameSize) || !spinox::IsUtf8(f, n)) std::abort();
  }
  if (tagged != tag.tagged || (!tagged && std::strcmp(tag.title, name) != 0)) std::abort();
  return tag;
}

void Le32(Bytes* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<unsigned char>(v >> (8 * i)));
}

// The packets of one stream in pages of at most 255 segments; the first alone on its page.
Bytes Stream(const std::vector<Bytes>& packets) {
  Bytes out;
  uint32_t seq = 0;
  bool continued = false;
  auto page = [&](const Bytes& lacing, const Bytes& body) {
    Bytes h = {'O', 'g', 'g',
               'S', 0,   static_cast<unsigned char>((continued ? 1 : 0) | (seq ? 0 : 2))};
    h.resize(14, 0);
    Le32(&h, 7);
    Le32(&h, seq++);
    Le32(&h, 0);
    h.push_back(static_cast<unsigned char>(lacing.size()));
    out.insert(out.end(), h.begin(), h.end());
    out.insert(out.end(), lacing.begin(), lacing.end());
    out.insert(out.end(), body.begin(), body.end());
    continued = !lacing.empty() && lacing.back() == 255;
  };
  Bytes lacing, body;
  for (size_t p = 0; p < packets.size(); ++p) {
    size_t n = packets[p].size();
    for (size_t off = 0;; off += 255) {
      size_t seg = n - off < 255 ? n - off : 255;
      if (lacing.size() == 255) page(lacing, body), lacing.clear(), body.clear();
      lacing.push_back(static_cast<unsigned char>(seg));
      body.insert(body.end(), packets[p].begin() + off, packets[p].begin() + off + seg);
      if (seg < 255) break;
    }
    if (p == 0) page(lacing, body), lacing.clear(), body.clear();
  }
  if (!lacing.empty()) page(lacing, body);
  return out;
}

Bytes Prefixed(const char* magic, size_t n, const Bytes& rest) {
  Bytes out(magic, magic + n);
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

// Alike: the same texts, or both untagged (and so titled by their different names).
bool Same(const spinox::TrackTag& a, const spinox::TrackTag& b) {
  if (a.tagged != b.tagged) return false;
  if (!a.tagged) return a.artist[0] == '\0' && b.artist[0] == '\0';
  return std::strcmp(a.title, b.title) == 0 && std::strcmp(a.artist, b.artist) == 0 &&
         std::strcmp(a.album, b.album) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ReadFile("track.ogg", data, size);
  if (size > 20000) return 0;
  Bytes comments(data, data + size);
  Bytes audio(200, 0xFF);  // the last 128 bytes of every file
  Bytes vorbis = Stream({Prefixed("\x01vorbis", 7, Bytes(23, 0)),
                         Prefixed("\x03vorbis", 7, comments), Bytes(30, 0x55), audio});
  Bytes opus =
      Stream({Prefixed("OpusHead", 8, Bytes(11, 1)), Prefixed("OpusTags", 8, comments), audio});
  Bytes block = {0x84, static_cast<unsigned char>(size >> 16),
                 static_cast<unsigned char>(size >> 8), static_cast<unsigned char>(size)};
  Bytes flac = Stream({Prefixed("\x7F"
                                "FLAC\x01\x00\x00\x01"
                                "fLaC",
                                13, Bytes(38, 0)),
                       Prefixed(reinterpret_cast<const char*>(block.data()), 4, comments), audio});
  spinox::TrackTag v = ReadFile("comments.ogg", vorbis.data(), vorbis.size());
  spinox::TrackTag o = ReadFile("comments.ogg", opus.data(), opus.size());
  spinox::TrackTag f = ReadFile("comments.ogg", flac.data(), flac.size());
  if (!Same(v, o) || !Same(v, f)) std::abort();
  return 0;
}
