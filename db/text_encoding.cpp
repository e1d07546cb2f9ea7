#include "db/text_encoding.h"

#include "base/codepage.h"
#include "base/file.h"
#include "db/paths.h"

namespace spinox {

const char* const kUtf8MarkerFile = "gen_spinox.utf8";

TextEncoding StoredTextEncoding() {
  if (KindOf(RealPath(kUtf8MarkerFile)) == PathKind::kFile) return TextEncoding::kUtf8;
  for (const char* name : {kSongFile, kAlbumFile, kArtistFile, kHitFile, kSettingsFile}) {
    if (KindOf(RealPath(name)) != PathKind::kMissing) return TextEncoding::kAnsi;
  }
  return TextEncoding::kUtf8;
}

std::string StoredTextAsUtf8(const std::string& text, TextEncoding encoding) {
  return encoding == TextEncoding::kUtf8 ? CleanUtf8(text) : AnsiToUtf8(text);
}

}  // namespace spinox
