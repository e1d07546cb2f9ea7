// libFuzzer target: carrying arbitrary record bytes over to UTF-8. The first byte picks the
// record layout (song, album, artist, settings) and, with its high bit, whether the bytes go
// through the whole conversion of a data folder as that record file. Every text that comes out
// is well-formed UTF-8 that fits its field, NUL-filled, and every other byte is as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "base/clock.h"
#include "base/codepage.h"
#include "base/file.h"
#include "base/text.h"
#include "db/backup.h"
#include "db/convert_text.h"
#include "db/paths.h"
#include "db/text_encoding.h"
#include "fuzz/fuzz_util.h"

namespace {

using namespace spinox;

size_t Utf8Length(char lead) {
  unsigned char c = static_cast<unsigned char>(lead);
  return c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
}

// True when `after` is `before` with each text field recoded as the conversion must.
bool SoundlyConverted(const TextLayout& layout, const unsigned char* before,
                      const unsigned char* after) {
  std::vector<bool> text(layout.recSize, false);
  for (size_t s = 0; s < layout.count; ++s) {
    const TextSpan& span = layout.spans[s];
    const char* field = reinterpret_cast<const char*>(after + span.offset);
    size_t n = strnlen(field, span.width);
    if (n >= span.width || !IsUtf8(field, n)) return false;
    for (size_t i = n; i < span.width; ++i)
      if (field[i] != 0) return false;
    // Nothing is lost but what the field cannot hold: the text is a head of the full recoding.
    std::string full = EncodeUtf8(
        DecodeAnsi(FieldText(reinterpret_cast<const char*>(before + span.offset), span.width)));
    if (full.compare(0, n, field, n) != 0) return false;
    if (n < full.size() && n + Utf8Length(full[n]) <= span.width - 1) return false;
    for (size_t i = 0; i < span.width; ++i) text[span.offset + i] = true;
  }
  for (size_t i = 0; i < layout.recSize; ++i)
    if (!text[i] && before[i] != after[i]) return false;
  return true;
}

// The bytes as a record file of an earlier version's folder, converted whole: the whole
// records as above, a torn tail as it was, and the marker written.
void ConvertFolder(const TextLayout& layout, const uint8_t* data, size_t size) {
  SetDataDir(fuzz::ScratchDir());
  for (const char* name :
       {kSongFile, kAlbumFile, kArtistFile, kHitFile, kSettingsFile, kUtf8MarkerFile, kJournalFile})
    std::remove(FullPath(name).c_str());
  fuzz::WriteScratch(layout.file, data, size);
  if (EnsureUtf8Database() != TextConversion::kConverted) __builtin_trap();
  if (StoredTextEncoding() != TextEncoding::kUtf8) __builtin_trap();
  std::vector<unsigned char> after;
  if (!ReadWholeFile(FullPath(layout.file), &after) || after.size() != size) __builtin_trap();
  // A settings file is converted only with its magic, and then as one record; a part of a
  // record (a torn tail, a short settings file) is left to the byte check below or unchecked.
  bool settings = &layout == &SettingsTextLayout();
  bool magic = size >= 4 && std::memcmp(data, "SPX", 4) == 0;
  size_t whole = size - size % layout.recSize;
  if (settings) whole = magic ? std::min(whole, layout.recSize) : 0;
  bool shortSettings = settings && magic && size < layout.recSize;
  for (size_t at = 0; at < whole; at += layout.recSize)
    if (!SoundlyConverted(layout, data + at, after.data() + at)) __builtin_trap();
  if (!shortSettings && size > whole &&
      std::memcmp(after.data() + whole, data + whole, size - whole) != 0)
    __builtin_trap();
  std::remove(FullPath(BackupFileName(ClockNow())).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const TextLayout& layout = kTextLayouts[(data[0] & 0x7F) % (kRecordLayouts + 1)];
  bool wholeFolder = (data[0] & 0x80) != 0;
  ++data, --size;
  if (wholeFolder) {
    ConvertFolder(layout, data, size);
    return 0;
  }
  std::vector<unsigned char> rec(layout.recSize, 0);
  std::memcpy(rec.data(), data, size < rec.size() ? size : rec.size());
  std::vector<unsigned char> before = rec;
  ConvertRecordTexts(rec.data(), layout);
  if (!SoundlyConverted(layout, before.data(), rec.data())) __builtin_trap();
  return 0;
}
