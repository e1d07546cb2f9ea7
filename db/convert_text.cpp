#include "db/convert_text.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "base/clock.h"
#include "base/codepage.h"
#include "base/file.h"
#include "base/replace_file.h"
#include "base/text.h"
#include "db/backup.h"
#include "db/paths.h"
#include "db/record_io.h"
#include "db/records.h"
#include "db/text_encoding.h"

namespace spinox {

namespace {

constexpr TextSpan kSongSpans[] = {{offsetof(SongRecord, title), kNameSize, "title"},
                                   {offsetof(SongRecord, artist), kNameSize, "artist"},
                                   {offsetof(SongRecord, album), kNameSize, "album"},
                                   {offsetof(SongRecord, file), kPathSize, "file"}};
constexpr TextSpan kAlbumSpans[] = {{offsetof(AlbumRecord, album), kNameSize, "album"},
                                    {offsetof(AlbumRecord, artist), kNameSize, "artist"}};
constexpr TextSpan kArtistSpans[] = {{offsetof(ArtistRecord, name), kNameSize, "name"}};
// The text fields of gen_spinox.dat (docs/settings-format.md): the page's file and image paths,
// the HTML dialog's image boxes, template, title and fonts, the display's text and font, and
// the date and time formats.
constexpr TextSpan kSettingsSpans[] = {{96, 250, "_htm_filename"},
                                       {346, 250, "_htm_table_img"},
                                       {596, 250, "_htm_page_img"},
                                       {846, 250, "_htm_top_img"},
                                       {1096, 250, "_htm_rest_img"},
                                       {1346, 250, "page_image_box"},
                                       {1596, 250, "table_image_box"},
                                       {1846, 250, "top_image_box"},
                                       {2096, 250, "rest_image_box"},
                                       {2354, 250, "template_file"},
                                       {2604, 250, "page_title"},
                                       {2878, 250, "top_font"},
                                       {3128, 250, "rest_font"},
                                       {3438, 200, "_txt_text"},
                                       {3650, 50, "_txt_font"},
                                       {3712, 25, "_date"},
                                       {3737, 25, "_time"}};
constexpr size_t kSettingsRecord = 3766;
constexpr char kSettingsMagic[4] = {'S', 'P', 'X', '\0'};

template <size_t N>
constexpr TextLayout Layout(const char* file, size_t recSize, const TextSpan (&spans)[N]) {
  return {file, recSize, spans, N};
}

// Whole records are converted a chunk at a time, in place in the staged copy.
bool ConvertRecords(const TextLayout& layout) {
  std::string path = FullPath(layout.file);
  File f;
  if (!f.Open(path, "r+b")) return NoteIoFailure("open", path);
  RecId count = CountRecords(f, layout.recSize);
  size_t perChunk = kScanChunk / layout.recSize;
  std::unique_ptr<unsigned char[]> buf(new unsigned char[perChunk * layout.recSize]);
  for (RecId first = 0; first < count;) {
    size_t n = count - first < perChunk ? count - first : perChunk;
    size_t bytes = n * layout.recSize;
    int64_t at = static_cast<int64_t>(first) * static_cast<int64_t>(layout.recSize);
    if (!f.Seek(at) || !f.Read(buf.get(), bytes)) return NoteIoFailure("read", path);
    for (size_t i = 0; i < n; ++i) ConvertRecordTexts(buf.get() + i * layout.recSize, layout);
    if (!f.Seek(at)) return NoteIoFailure("write", path);
    if (!f.Write(buf.get(), bytes)) return false;
    first += static_cast<RecId>(n);
  }
  return f.Close();
}

// A settings file is converted only when it has the magic (anything else is an old single-file
// database or not settings at all, and keeps its bytes); fields the file holds only in part
// are left as they are, since no reader takes them.
bool ConvertSettings() {
  std::string path = FullPath(kSettingsFile);
  std::vector<unsigned char> bytes;
  if (!ReadWholeFile(path, &bytes)) return NoteIoFailure("read", path);
  if (bytes.size() < sizeof kSettingsMagic ||
      std::memcmp(bytes.data(), kSettingsMagic, sizeof kSettingsMagic) != 0)
    return true;
  const TextLayout& layout = SettingsTextLayout();
  for (size_t i = 0; i < layout.count; ++i) {
    const TextSpan& span = layout.spans[i];
    if (span.offset + span.width > bytes.size()) continue;
    TextLayout one = {layout.file, layout.recSize, &span, 1};
    ConvertRecordTexts(bytes.data(), one);
  }
  File f;
  if (!f.Open(path, "wb")) return NoteIoFailure("create", path);
  return f.Write(bytes.data(), bytes.size()) && f.Close();
}

// Under the exclusive lock: a backup of the old database, then its texts and the marker in one
// change. When the texts cannot be staged nothing was changed and the backup made for this
// attempt is taken back: a play waiting for the conversion tries it on every tick, and would
// otherwise leave a copy of the database each minute while it keeps failing.
TextConversion ConvertUnderLock(Change& change, std::string* backup) {
  std::string expected = FullPath(BackupFileName(ClockNow()));
  bool fresh = KindOf(expected) == PathKind::kMissing;
  std::string made = BackupDatabase();
  if (made.empty()) return TextConversion::kFailed;
  if (backup) *backup = made;
  bool staged = true;
  for (const TextLayout& layout : kTextLayouts) {
    if (!ConvertFileTexts(change, layout)) {
      staged = false;
      break;
    }
  }
  if (staged && WriteUtf8Marker(change))
    return change.Commit() ? TextConversion::kConverted : TextConversion::kFailed;
  // A backup that replaced one already there (made in the same minute) is kept.
  if (fresh && made == expected) {
    RemovePath(made);
    if (backup) backup->clear();
  }
  return TextConversion::kFailed;
}

}  // namespace

const TextLayout kTextLayouts[kRecordLayouts + 1] = {
    Layout(kSongFile, sizeof(SongRecord), kSongSpans),
    Layout(kAlbumFile, sizeof(AlbumRecord), kAlbumSpans),
    Layout(kArtistFile, sizeof(ArtistRecord), kArtistSpans),
    Layout(kSettingsFile, kSettingsRecord, kSettingsSpans),
};

const TextLayout& SettingsTextLayout() {
  return kTextLayouts[kRecordLayouts];
}

std::string Utf8MarkerText() {
  return "spinox text utf-8\nfrom " + AnsiCharset() + "\n";
}

void ConvertRecordTexts(unsigned char* rec, const TextLayout& layout) {
  for (size_t i = 0; i < layout.count; ++i) {
    char* field = reinterpret_cast<char*>(rec + layout.spans[i].offset);
    size_t width = layout.spans[i].width;
    std::string utf8 = AnsiToUtf8(FieldText(field, width));
    CopyText(field, width, utf8.c_str());
  }
}

bool ConvertFileTexts(Change& change, const TextLayout& layout) {
  errno = 0;
  if (!File(RealPath(layout.file), "rb").IsOpen()) {
    if (errno == ENOENT) return true;
    change.Fail();
    return NoteIoFailure("open", RealPath(layout.file));
  }
  return change.Stage(layout.file, Change::From::kCopy) && ConvertStagedTexts(change, layout);
}

bool ConvertStagedTexts(Change& change, const TextLayout& layout) {
  bool done = &layout == &SettingsTextLayout() ? ConvertSettings() : ConvertRecords(layout);
  if (!done) change.Fail();
  return done;
}

bool WriteUtf8Marker(Change& change) {
  if (!change.Stage(kUtf8MarkerFile, Change::From::kEmpty)) return false;
  std::string path = FullPath(kUtf8MarkerFile);
  std::string text = Utf8MarkerText();
  File f;
  bool written = f.Open(path, "wb") ? f.Write(text.data(), text.size()) && f.Close()
                                    : NoteIoFailure("create", path);
  if (!written) change.Fail();
  return written;
}

bool MarkerPresent() {
  return KindOf(RealPath(kUtf8MarkerFile)) == PathKind::kFile;
}

TextConversion EnsureUtf8Database(std::string* backup) {
  // Inside this process's own change the marker was seen to first (and a nested change would
  // take that change's staged copies for leftovers).
  if (MarkerPresent() || ChangeOpen()) return TextConversion::kUtf8;
  Change change;
  if (!change.ok()) return TextConversion::kFailed;
  // Another process may have converted the folder or started its database meanwhile.
  if (MarkerPresent()) return TextConversion::kUtf8;
  if (StoredTextEncoding() == TextEncoding::kAnsi) return ConvertUnderLock(change, backup);
  return WriteUtf8Marker(change) && change.Commit() ? TextConversion::kUtf8
                                                    : TextConversion::kFailed;
}

}  // namespace spinox
