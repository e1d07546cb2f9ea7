// spinox dump: every record of one record file with its index and fields.
#include <cstring>
#include <string>
#include <vector>

#include "base/file.h"
#include "base/text.h"
#include "db/paths.h"
#include "db/records.h"
#include "db/text_encoding.h"
#include "tool/args.h"
#include "tool/json.h"
#include "tool/text_out.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox dump [--db DIR] [--json] songs|albums|artists|hits\n"
    "Prints every record of a record file with its index and fields; ids of -1 mean none or\n"
    "deleted. A song line ending in aliasOf=N is an alias: the old names of a song an edit\n"
    "renamed or merged, whose plays now count for song N. A partial record at the end of a\n"
    "file is not shown.\n"
    "\n  --db DIR    folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n"
    "  --json      print a JSON array\n";

long long IdValue(uint32_t id) {
  return id == kNoId ? -1 : static_cast<long long>(id);
}

// How the records are printed: as JSON or lines, their texts read in the folder's encoding.
struct Style {
  bool json;
  TextEncoding encoding;
};

std::string Text(const char* field, size_t n, const Style& style) {
  std::string utf8 = StoredTextAsUtf8(FieldText(field, n), style.encoding);
  return style.json ? JsonString(utf8) : TerminalText(utf8);
}

// Loads the whole records of a file; a missing file has none.
template <typename Record>
std::vector<Record> LoadRecords(const char* name) {
  std::vector<unsigned char> bytes;
  ReadWholeFile(FullPath(name), &bytes);
  std::vector<Record> records(bytes.size() / sizeof(Record));
  if (!records.empty()) std::memcpy(records.data(), bytes.data(), records.size() * sizeof(Record));
  return records;
}

void PrintSong(size_t i, const SongRecord& r, const Style& style, FILE* out) {
  bool json = style.json;
  const char* fmt = json ? "{\"index\": %zu, \"id\": %lld, \"artistId\": %lld, \"albumId\": %lld, "
                           "\"title\": %s, \"artist\": %s, \"album\": %s, \"file\": %s, "
                           "\"lastPlayed\": %d"
                         : "%zu\tid=%lld\tartistId=%lld\talbumId=%lld\ttitle=%s\tartist=%s\t"
                           "album=%s\tfile=%s\tlastPlayed=%d";
  std::fprintf(out, fmt, i, IdValue(r.id), IdValue(r.artistId), IdValue(r.albumId),
               Text(r.title, kNameSize, style).c_str(), Text(r.artist, kNameSize, style).c_str(),
               Text(r.album, kNameSize, style).c_str(), Text(r.file, kPathSize, style).c_str(),
               r.lastPlayed);
  // An alias holds the old names of an edited song; its albumId is the song they lead to.
  if (IsAlias(r))
    std::fprintf(out, json ? ", \"aliasOf\": %u}" : "\taliasOf=%u", r.albumId);
  else if (json)
    std::fprintf(out, "}");
}

void PrintAlbum(size_t i, const AlbumRecord& r, const Style& style, FILE* out) {
  bool json = style.json;
  const char* fmt = json ? "{\"index\": %zu, \"id\": %lld, \"album\": %s, \"artist\": %s}"
                         : "%zu\tid=%lld\talbum=%s\tartist=%s";
  std::fprintf(out, fmt, i, IdValue(r.id), Text(r.album, kNameSize, style).c_str(),
               Text(r.artist, kNameSize, style).c_str());
}

void PrintArtist(size_t i, const ArtistRecord& r, const Style& style, FILE* out) {
  bool json = style.json;
  const char* fmt = json ? "{\"index\": %zu, \"id\": %lld, \"name\": %s}" : "%zu\tid=%lld\tname=%s";
  std::fprintf(out, fmt, i, IdValue(r.id), Text(r.name, kNameSize, style).c_str());
}

void PrintHit(size_t i, const HitRecord& r, const Style& style, FILE* out) {
  bool json = style.json;
  const char* fmt = json ? "{\"index\": %zu, \"songId\": %lld, \"artistId\": %lld, "
                           "\"albumId\": %lld, \"time\": %d}"
                         : "%zu\tsongId=%lld\tartistId=%lld\talbumId=%lld\ttime=%d";
  std::fprintf(out, fmt, i, IdValue(r.songId), IdValue(r.artistId), IdValue(r.albumId), r.time);
  if (!json) std::fprintf(out, " %s", FormatTime(r.time).c_str());
}

template <typename Record>
void PrintAll(const char* file, void (*print)(size_t, const Record&, const Style&, FILE*),
              const Style& style, FILE* out) {
  bool json = style.json;
  std::vector<Record> records = LoadRecords<Record>(file);
  if (json) std::fprintf(out, "[");
  for (size_t i = 0; i < records.size(); ++i) {
    if (json) std::fprintf(out, i ? ",\n " : "\n ");
    print(i, records[i], style, out);
    if (!json) std::fprintf(out, "\n");
  }
  if (json) std::fprintf(out, "%s]\n", records.empty() ? "" : "\n");
}

int RunDump(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {"--db"}, {"--json"}, "dump", &args, io)) return kBadUsage;
  if (args.help) return std::fprintf(io.out, "%s", kUsage), kOk;
  if (args.positional.size() != 1)
    return Fail(io, "dump", "give one of songs, albums, artists, hits", kBadUsage);
  if (!UseDatabaseDir(args, "dump", io)) return kFailed;
  const std::string& what = args.positional[0];
  Style style = {args.Has("--json"), StoredTextEncoding()};
  if (what == "songs")
    PrintAll<SongRecord>(kSongFile, PrintSong, style, io.out);
  else if (what == "albums")
    PrintAll<AlbumRecord>(kAlbumFile, PrintAlbum, style, io.out);
  else if (what == "artists")
    PrintAll<ArtistRecord>(kArtistFile, PrintArtist, style, io.out);
  else if (what == "hits")
    PrintAll<HitRecord>(kHitFile, PrintHit, style, io.out);
  else
    return Fail(io, "dump", "unknown record file '" + what + "' (songs, albums, artists, hits)",
                kBadUsage);
  return kOk;
}

Registration dump({"dump", "print every record of a record file", RunDump});

}  // namespace

}  // namespace spinox::cli
