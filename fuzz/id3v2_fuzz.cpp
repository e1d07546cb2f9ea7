// The ID3v2 reader on arbitrary file contents; then the input as the content of a title frame,
// once as it stands and once coded as writers code frames (compressed, unsynchronised, with
// data-length and group bytes): both must give the same title.
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/text.h"
#include "tags/id3.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Terminated, and well-formed UTF-8.
void CheckField(const char* field) {
  size_t n = strnlen(field, spinox::kNameSize);
  if (n >= static_cast<size_t>(spinox::kNameSize) || !spinox::IsUtf8(field, n)) std::abort();
}

spinox::TrackTag ReadFile(const char* name, const Bytes& bytes) {
  spinox::TagFile f(bytes.data(), bytes.size());
  spinox::TrackTag tag{};
  spinox::SetField(tag.file, name);
  int tagged = spinox::ReadTag(f, &tag);
  for (const char* f : {tag.title, tag.artist, tag.album}) CheckField(f);
  if (tagged != tag.tagged || (!tagged && std::strcmp(tag.title, name) != 0)) std::abort();
  return tag;
}

void Append(Bytes* out, uint32_t v, bool synchsafe) {
  for (int i = 3; i >= 0; --i) {
    out->push_back(static_cast<unsigned char>(synchsafe ? (v >> (7 * i)) & 0x7F : v >> (8 * i)));
  }
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes Unsync(const Bytes& in) {
  Bytes out;
  for (unsigned char b : in) {
    out.push_back(b);
    if (b == 0xFF) out.push_back(0);
  }
  return out;
}

// The tag, then audio bytes enough that no ID3v1 trailer can lie inside the tag.
Bytes Tag(int version, unsigned char flags, const Bytes& frame) {
  Bytes out = {'I', 'D', '3', static_cast<unsigned char>(version), 0, flags};
  Append(&out, static_cast<uint32_t>(frame.size()), true);
  out.insert(out.end(), frame.begin(), frame.end());
  out.insert(out.end(), 128, 0x55);
  return out;
}

Bytes Frame(int version, unsigned char format, const Bytes& content) {
  Bytes out = {'T', 'I', 'T', '2'};
  Append(&out, static_cast<uint32_t>(content.size()), version == 4);
  out.push_back(0);
  out.push_back(format);
  out.insert(out.end(), content.begin(), content.end());
  return out;
}

Bytes Compress(const Bytes& in) {
  uLongf n = compressBound(static_cast<uLong>(in.size()));
  Bytes out(n);
  if (compress(out.data(), &n, in.data(), static_cast<uLong>(in.size())) != Z_OK) std::abort();
  out.resize(n);
  return out;
}

// The content coded by the flags `mode` picks, and the tag flags that go with it.
Bytes Coded(int version, unsigned mode, const Bytes& content, unsigned char* tagFlags) {
  bool compressed = mode & 2, unsync = mode & 4, grouped = mode & 8, dataLength = mode & 16;
  Bytes data = compressed ? Compress(content) : content;
  Bytes prefix;
  unsigned char format = 0;
  *tagFlags = 0;
  if (version == 3) {
    if (compressed) Append(&prefix, static_cast<uint32_t>(content.size()), false), format |= 0x80;
    if (grouped) prefix.push_back(0xFF), format |= 0x20;
    Bytes frame = Frame(3, format, Concat(prefix, data));
    if (unsync) *tagFlags = 0x80;
    return unsync ? Unsync(frame) : frame;
  }
  if (grouped) prefix.push_back(0x17), format |= 0x40;
  if (compressed) format |= 0x08;
  if (compressed || dataLength)
    Append(&prefix, static_cast<uint32_t>(content.size()), true), format |= 0x01;
  if (unsync) data = Unsync(data), format |= 0x02;
  return Frame(4, format, Concat(prefix, data));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  spinox::TagFile f(data, size);
  spinox::TrackTag tag{};
  if (spinox::HasId3v2(f, &tag)) spinox::ReadId3v2(f, &tag);
  CheckField(tag.title);
  CheckField(tag.artist);
  CheckField(tag.album);

  if (size < 2 || size > 4000) return 0;
  unsigned mode = data[0];
  int version = mode & 1 ? 4 : 3;
  Bytes content(data + 1, data + size);
  unsigned char tagFlags;
  Bytes coded = Coded(version, mode, content, &tagFlags);
  spinox::TrackTag plain = ReadFile("title.mp3", Tag(version, 0, Frame(version, 0, content)));
  spinox::TrackTag other = ReadFile("title.mp3", Tag(version, tagFlags, coded));
  if (std::strcmp(plain.title, other.title) != 0) std::abort();
  return 0;
}
