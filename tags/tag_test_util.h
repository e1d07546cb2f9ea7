// Builders of tag bytes for the tag reader tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "tags/track_tag.h"
#include "tests/test_util.h"

namespace spinox::test {

using Bytes = std::vector<unsigned char>;

inline Bytes B(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

// Grows, then copies by index: GCC 12 at -O2 misreads vector::insert's growth as an access out
// of bounds (-Warray-bounds).
inline Bytes operator+(Bytes a, const Bytes& b) {
  const size_t at = a.size();
  a.resize(at + b.size());
  for (size_t i = 0; i < b.size(); ++i) a[at + i] = b[i];
  return a;
}

inline Bytes BigEndianBytes(uint32_t v, int n) {
  Bytes out;
  for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
  return out;
}

inline Bytes SynchsafeBytes(uint32_t v, int n) {
  Bytes out;
  for (int i = n - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>((v >> (7 * i)) & 0x7F));
  return out;
}

inline Bytes Le32(uint32_t v) {
  return {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
          static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
}

// UTF-16 code units in the given byte order, with or without a byte order mark.
inline Bytes Utf16(const std::u16string& s, bool bigEndian, bool bom) {
  Bytes out;
  auto unit = [&](char16_t u) {
    unsigned char hi = static_cast<unsigned char>(u >> 8), lo = static_cast<unsigned char>(u);
    if (bigEndian)
      out.push_back(hi), out.push_back(lo);
    else
      out.push_back(lo), out.push_back(hi);
  };
  if (bom) unit(0xFEFF);
  for (char16_t u : s) unit(u);
  return out;
}

// A frame of the layout of `version` with its size encoded as that version defines it, and
// the format flags (the second flag byte) of 2.3 and 2.4.
inline Bytes Id3Frame(int version, const std::string& id, const Bytes& content,
                      unsigned char format = 0) {
  uint32_t n = static_cast<uint32_t>(content.size());
  if (version <= 2) return B(id) + BigEndianBytes(n, 3) + content;
  Bytes size = version == 3 ? BigEndianBytes(n, 4) : SynchsafeBytes(n, 4);
  return B(id) + size + Bytes{0, format} + content;
}

// Unsynchronisation as writers apply it: a zero byte after every 0xFF.
inline Bytes Unsync(const Bytes& in) {
  Bytes out;
  for (unsigned char b : in) {
    out.push_back(b);
    if (b == 0xFF) out.push_back(0);
  }
  return out;
}

inline Bytes Id3Text(int version, const std::string& id, const std::string& latin1) {
  return Id3Frame(version, id, Bytes{0} + B(latin1));
}

// A header announcing `body` plus `padding` zero bytes, then the body and the padding.
inline Bytes Id3Tag(int version, unsigned char flags, const Bytes& body, uint32_t padding = 0) {
  Bytes header = B("ID3") + Bytes{static_cast<unsigned char>(version), 0, flags} +
                 SynchsafeBytes(static_cast<uint32_t>(body.size()) + padding, 4);
  return header + body + Bytes(padding, 0);
}

inline Bytes Id3v1(const std::string& title, const std::string& artist, const std::string& album,
                   char pad = 0) {
  auto field = [&](const std::string& s) {
    Bytes f = B(s.substr(0, 30));
    f.resize(30, static_cast<unsigned char>(pad));
    return f;
  };
  Bytes tail(35, 0);
  return B("TAG") + field(title) + field(artist) + field(album) + tail;
}

// Some audio-like bytes that hold no tag marker.
inline Bytes Audio(size_t n) {
  Bytes out(n);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(0xA0 + i % 7);
  return out;
}

inline Bytes OggPage(unsigned char type, uint32_t serial, uint32_t seq, const Bytes& lacing,
                     const Bytes& body) {
  Bytes granule(8, 0);
  return B("OggS") + Bytes{0, type} + granule + Le32(serial) + Le32(seq) + Le32(0) +
         Bytes{static_cast<unsigned char>(lacing.size())} + lacing + body;
}

// Lays packets out in pages of at most `maxSegments` segments; the first packet gets a page
// of its own, as a Vorbis stream's identification header does.
inline Bytes OggStream(const std::vector<Bytes>& packets, uint32_t serial = 1,
                       size_t maxSegments = 255) {
  struct Segment {
    size_t packet, offset, size;
  };
  std::vector<std::vector<Segment>> pages(1);
  for (size_t p = 0; p < packets.size(); ++p) {
    size_t n = packets[p].size(), off = 0;
    for (bool last = false; !last; off += 255) {
      size_t size = n - off < 255 ? n - off : 255;
      last = size < 255;
      if (pages.back().size() == maxSegments) pages.emplace_back();
      pages.back().push_back({p, off, size});
    }
    if (p == 0) pages.emplace_back();
  }
  Bytes out;
  bool continued = false;
  for (size_t i = 0; i < pages.size(); ++i) {
    Bytes lacing, body;
    for (const Segment& s : pages[i]) {
      lacing.push_back(static_cast<unsigned char>(s.size));
      body.insert(body.end(), packets[s.packet].begin() + s.offset,
                  packets[s.packet].begin() + s.offset + s.size);
    }
    unsigned char type = static_cast<unsigned char>((continued ? 1 : 0) | (i == 0 ? 2 : 0));
    out = out + OggPage(type, serial, static_cast<uint32_t>(i), lacing, body);
    continued = !lacing.empty() && lacing.back() == 255;
  }
  return out;
}

inline Bytes VorbisIdent() {
  return Bytes{1} + B("vorbis") + Bytes(23, 0);
}

inline Bytes VorbisComments(const std::vector<std::string>& comments,
                            const std::string& vendor = "test vendor") {
  Bytes out = Bytes{3} + B("vorbis") + Le32(static_cast<uint32_t>(vendor.size())) + B(vendor) +
              Le32(static_cast<uint32_t>(comments.size()));
  for (const std::string& c : comments) out = out + Le32(static_cast<uint32_t>(c.size())) + B(c);
  return out + Bytes{1};
}

// An Opus stream: its identification header alone on the first page, then the comments.
inline Bytes OpusFile(const std::vector<std::string>& comments) {
  Bytes tags = VorbisComments(comments);
  tags.erase(tags.begin(), tags.begin() + 7);  // no "\x03vorbis"
  tags.pop_back();                             // and no framing bit
  return OggStream({B("OpusHead") + Bytes{1, 2, 0x38, 1, 0x80, 0xBB, 0, 0, 0, 0, 0},
                    B("OpusTags") + tags, Bytes(100, 0xFC)});
}

// A FLAC metadata block: type (0x80 marks the last block), 24-bit length, content.
inline Bytes FlacBlock(unsigned char type, const Bytes& content) {
  return Bytes{type} + BigEndianBytes(static_cast<uint32_t>(content.size()), 3) + content;
}

inline Bytes FlacComments(const std::vector<std::string>& comments, bool last = true) {
  Bytes body = VorbisComments(comments);
  body.erase(body.begin(), body.begin() + 7);
  body.pop_back();
  return FlacBlock(last ? 0x84 : 0x04, body);
}

// FLAC in Ogg: the mapping header with STREAMINFO, one packet per further metadata block,
// then audio frames.
inline Bytes FlacOggFile(const std::vector<Bytes>& blocks) {
  Bytes first = Bytes{0x7F} + B("FLAC") + Bytes{1, 0} +
                BigEndianBytes(static_cast<uint32_t>(blocks.size()), 2) + B("fLaC") +
                FlacBlock(0, Bytes(34, 0x11));
  std::vector<Bytes> packets = {first};
  packets.insert(packets.end(), blocks.begin(), blocks.end());
  packets.push_back(Bytes{0xFF, 0xF8} + Bytes(60, 0x42));
  return OggStream(packets);
}

inline Bytes VorbisFile(const std::vector<std::string>& comments, size_t maxSegments = 255) {
  return OggStream({VorbisIdent(), VorbisComments(comments), Bytes(300, 0x55)}, 1, maxSegments);
}

// Writes the bytes to `name` in `dir` and reads its tags.
inline TrackTag ReadBytesTag(const TempDir& dir, const Bytes& bytes,
                             const std::string& name = "track.mp3") {
  WriteBytes(dir.File(name), bytes);
  TrackTag tag{};
  SetField(tag.file, dir.File(name));
  ReadTag(&tag);
  return tag;
}

}  // namespace spinox::test
