// Builders of tag bytes for the tag reader tests, and a reader of tags from bytes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "base/text.h"
#include "tags/tag_io.h"
#include "tags/track_tag.h"

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

// n bytes of v, most significant first, with 8 bits per byte or 7 (ID3v2 "synchsafe").
inline Bytes BigEndianBytes(uint32_t v, int n, int bits = 8) {
  Bytes out;
  for (int i = n - 1; i >= 0; --i)
    out.push_back(static_cast<unsigned char>((v >> (bits * i)) & ((1u << bits) - 1)));
  return out;
}

inline Bytes SynchsafeBytes(uint32_t v, int n) {
  return BigEndianBytes(v, n, 7);
}

inline Bytes Le32(uint32_t v) {
  Bytes out = BigEndianBytes(v, 4);
  return Bytes(out.rbegin(), out.rend());
}

// UTF-16 code units in the given byte order, with or without a byte order mark.
inline Bytes Utf16(const std::u16string& s, bool bigEndian, bool bom) {
  Bytes out;
  for (char16_t u : (bom ? u"\uFEFF" : u"") + s) {
    Bytes unit = BigEndianBytes(u, 2);
    out = out + (bigEndian ? unit : Bytes{unit[1], unit[0]});
  }
  return out;
}

// A frame of the layout of `version` with its size encoded as that version defines it, and
// the format flags (the second flag byte) of 2.3 and 2.4.
inline Bytes Id3Frame(int version, const std::string& id, const Bytes& content,
                      unsigned char format = 0) {
  uint32_t n = static_cast<uint32_t>(content.size());
  if (version <= 2) return B(id) + BigEndianBytes(n, 3) + content;
  return B(id) + BigEndianBytes(n, 4, version == 3 ? 8 : 7) + Bytes{0, format} + content;
}

inline Bytes Id3Text(int version, const std::string& id, const std::string& latin1) {
  return Id3Frame(version, id, Bytes{0} + B(latin1));
}

// Unsynchronisation as writers apply it: a zero byte after every 0xFF.
inline Bytes Unsync(const Bytes& in) {
  Bytes out;
  for (unsigned char b : in) out = out + (b == 0xFF ? Bytes{b, 0} : Bytes{b});
  return out;
}

// A header announcing `body` plus `padding` zero bytes, then the body and the padding.
inline Bytes Id3Tag(int version, unsigned char flags, const Bytes& body, uint32_t padding = 0) {
  return B("ID3") + Bytes{static_cast<unsigned char>(version), 0, flags} +
         SynchsafeBytes(static_cast<uint32_t>(body.size()) + padding, 4) + body + Bytes(padding, 0);
}

inline Bytes Id3v1(const std::string& title, const std::string& artist, const std::string& album,
                   char pad = 0) {
  Bytes out = B("TAG");
  for (const std::string& s : {title, artist, album}) {
    Bytes f = B(s.substr(0, 30));
    f.resize(30, static_cast<unsigned char>(pad));
    out = out + f;
  }
  return out + Bytes(35, 0);
}

// Some audio-like bytes that hold no tag marker.
inline Bytes Audio(size_t n) {
  Bytes out(n);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<unsigned char>(0xA0 + i % 7);
  return out;
}

inline Bytes OggPage(unsigned char type, uint32_t serial, uint32_t seq, const Bytes& lacing,
                     const Bytes& body) {
  return B("OggS") + Bytes{0, type} + Bytes(8, 0) + Le32(serial) + Le32(seq) + Le32(0) +
         Bytes{static_cast<unsigned char>(lacing.size())} + lacing + body;
}

// Lays packets out in pages of at most `maxSegments` segments; the first packet gets a page
// of its own, as a Vorbis stream's identification header does.
inline Bytes OggStream(const std::vector<Bytes>& packets, uint32_t serial = 1,
                       size_t maxSegments = 255) {
  Bytes out, lacing, body;
  uint32_t seq = 0;
  bool continued = false;
  auto page = [&] {
    unsigned char type = static_cast<unsigned char>((continued ? 1 : 0) | (seq == 0 ? 2 : 0));
    out = out + OggPage(type, serial, seq++, lacing, body);
    continued = !lacing.empty() && lacing.back() == 255;
    lacing.clear();
    body.clear();
  };
  for (size_t p = 0; p < packets.size(); ++p) {
    for (size_t off = 0, size = 255; size == 255; off += 255) {
      size = std::min<size_t>(packets[p].size() - off, 255);
      if (lacing.size() == maxSegments) page();
      lacing.push_back(static_cast<unsigned char>(size));
      body = body + Bytes(packets[p].begin() + off, packets[p].begin() + off + size);
    }
    if (p == 0 || p + 1 == packets.size()) page();
  }
  return out;
}

inline Bytes VorbisIdent() {
  return Bytes{1} + B("vorbis") + Bytes(23, 0);
}

// A comment header: the packet type and "vorbis" (Vorbis only), the vendor, the comments, and
// the framing bit (Vorbis only).
inline Bytes VorbisComments(const std::vector<std::string>& comments, bool vorbis = true) {
  Bytes out = (vorbis ? Bytes{3} + B("vorbis") : Bytes{}) + Le32(11) + B("test vendor") +
              Le32(static_cast<uint32_t>(comments.size()));
  for (const std::string& c : comments) out = out + Le32(static_cast<uint32_t>(c.size())) + B(c);
  return vorbis ? out + Bytes{1} : out;
}

inline Bytes VorbisFile(const std::vector<std::string>& comments, size_t maxSegments = 255) {
  return OggStream({VorbisIdent(), VorbisComments(comments), Bytes(300, 0x55)}, 1, maxSegments);
}

// An Opus stream: its identification header alone on the first page, then the comments.
inline Bytes OpusFile(const std::vector<std::string>& comments) {
  return OggStream({B("OpusHead") + Bytes{1, 2, 0x38, 1, 0x80, 0xBB, 0, 0, 0, 0, 0},
                    B("OpusTags") + VorbisComments(comments, false), Bytes(100, 0xFC)});
}

// A FLAC metadata block: type (0x80 marks the last block), 24-bit length, content.
inline Bytes FlacBlock(unsigned char type, const Bytes& content) {
  return Bytes{type} + BigEndianBytes(static_cast<uint32_t>(content.size()), 3) + content;
}

inline Bytes FlacComments(const std::vector<std::string>& comments, bool last = true) {
  return FlacBlock(last ? 0x84 : 0x04, VorbisComments(comments, false));
}

// FLAC in Ogg: the mapping header with STREAMINFO, one packet per further metadata block,
// then audio frames.
inline Bytes FlacOggFile(std::vector<Bytes> blocks) {
  blocks.insert(blocks.begin(), Bytes{0x7F} + B("FLAC") + Bytes{1, 0} +
                                    BigEndianBytes(static_cast<uint32_t>(blocks.size()), 2) +
                                    B("fLaC") + FlacBlock(0, Bytes(34, 0x11)));
  blocks.push_back(Bytes{0xFF, 0xF8} + Bytes(60, 0x42));
  return OggStream(blocks);
}

// The tags of a file named `name` that holds `bytes`.
inline TrackTag ReadBytes(const Bytes& bytes, const std::string& name = "t.mp3") {
  TagFile f(bytes.data(), bytes.size());
  TrackTag tag{};
  SetField(tag.file, name);
  ReadTag(f, &tag);
  return tag;
}

// What a listener sees of a tag, as "title|artist|album|tagged".
inline std::string Seen(const TrackTag& t) {
  return FieldText(t.title) + "|" + FieldText(t.artist) + "|" + FieldText(t.album) + "|" +
         std::to_string(t.tagged);
}

}  // namespace spinox::test
