// spinox play / spinox info: a track's statistics, with or without recording a play.
#include <cerrno>
#include <string>

#include "base/codepage.h"
#include "base/file.h"
#include "base/text.h"
#include "db/play.h"
#include "tags/track_tag.h"
#include "tool/args.h"
#include "tool/json.h"
#include "tool/text_out.h"

namespace spinox::cli {

namespace {

const char kPlayUsage[] =
    "usage: spinox play [--db DIR] [--at DATE] [--json] FILE\n"
    "Records one play of FILE as the plug-in does when a play reaches its threshold,\n"
    "and prints the track's statistics from before the play.\n";
const char kInfoUsage[] =
    "usage: spinox info [--db DIR] [--at DATE] [--json] FILE\n"
    "Prints the track's statistics without recording a play.\n";
const char kOptionsHelp[] =
    "\n  --db DIR    folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n"
    "  --at DATE   the time taken as now: YYYY-MM-DD[THH:MM[:SS]] (local) or @UNIXTIME\n"
    "  --json      print JSON\n";

long long IdValue(RecId id) {
  return id == kNoId ? -1 : static_cast<long long>(id);
}

void PrintText(const SongInfo& s, FILE* out) {
  std::fprintf(out, "title:      %s\n", TerminalText(FieldText(s.title)).c_str());
  std::fprintf(out, "artist:     %s\n", TerminalText(FieldText(s.artist)).c_str());
  std::fprintf(out, "album:      %s\n", TerminalText(FieldText(s.album)).c_str());
  std::fprintf(out, "file:       %s\n", TerminalText(FieldText(s.file)).c_str());
  std::fprintf(out, "songId:     %lld\nartistId:   %lld\nalbumId:    %lld\n", IdValue(s.songId),
               IdValue(s.artistId), IdValue(s.albumId));
  std::fprintf(out, "hits:       %d\nhitsDay:    %d\nhitsWeek:   %d\nhitsMonth:  %d\n", s.hits,
               s.hitsDay, s.hitsWeek, s.hitsMonth);
  std::fprintf(out, "hitsYear:   %d\nhitsAlbum:  %d\nhitsArtist: %d\n", s.hitsYear, s.hitsAlbum,
               s.hitsArtist);
  std::fprintf(out, "playTime:   %d %s\n", s.playTime, FormatTime(s.playTime).c_str());
  std::fprintf(out, "lastPlayed: %d %s\n", s.lastPlayed, FormatTime(s.lastPlayed).c_str());
}

void PrintJson(const SongInfo& s, FILE* out) {
  std::fprintf(out, "{\"title\": %s, \"artist\": %s, \"album\": %s, \"file\": %s,\n",
               JsonString(FieldText(s.title)).c_str(), JsonString(FieldText(s.artist)).c_str(),
               JsonString(FieldText(s.album)).c_str(), JsonString(FieldText(s.file)).c_str());
  std::fprintf(out, " \"songId\": %lld, \"artistId\": %lld, \"albumId\": %lld,\n",
               IdValue(s.songId), IdValue(s.artistId), IdValue(s.albumId));
  std::fprintf(out, " \"hits\": %d, \"hitsDay\": %d, \"hitsWeek\": %d, \"hitsMonth\": %d,", s.hits,
               s.hitsDay, s.hitsWeek, s.hitsMonth);
  std::fprintf(out, " \"hitsYear\": %d, \"hitsAlbum\": %d, \"hitsArtist\": %d,\n", s.hitsYear,
               s.hitsAlbum, s.hitsArtist);
  std::fprintf(out, " \"playTime\": %d, \"lastPlayed\": %d}\n", s.playTime, s.lastPlayed);
}

// Reads the track's tags and resolves it against the database, as the plug-in does when the
// player moves to a new file. Returns an exit code.
int ResolveTrack(const char* command, const ParsedArgs& args, Io& io, SongInfo* info) {
  if (args.positional.size() != 1)
    return Fail(io, command, "give one FILE (see --help)", kBadUsage);
  if (!ApplyNow(args, "--at", command, io)) return kBadUsage;
  std::string path = AbsolutePath(args.positional[0]);
  if (!File(path, "rb").IsOpen())
    return Fail(io, command, "cannot read '" + path + "': " + FileErrorText(errno));
  if (path.size() >= kPathSize) return Fail(io, command, "path longer than 249 bytes: " + path);
  // Stored paths are UTF-8: a name that is not (a system that allows any bytes in one) could be
  // neither stored as it is nor found again by the play.
  if (!IsUtf8(path.data(), path.size()))
    return Fail(io, command, "path is not UTF-8: " + TerminalText(path));
  // info only reads; play converts an earlier version's database first.
  bool writes = std::string(command) == "play";
  if (!(writes ? UseDatabaseForWriting(args, command, io) : UseDatabaseDir(args, command, io)))
    return kFailed;
  TrackTag tag = {};
  SetField(tag.file, path);
  ReadTag(&tag);
  *info = SongInfo{};
  TagToData(tag, info);
  if (!FillSongInfo(info))
    return Fail(io, command, "could not read the database: " + LastIoError());
  return kOk;
}

int RunTrackCommand(const char* command, const char* usage, bool record,
                    const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {"--db", "--at"}, {"--json"}, command, &args, io)) return kBadUsage;
  if (args.help) {
    std::fprintf(io.out, "%s%s", usage, kOptionsHelp);
    return kOk;
  }
  SongInfo info;
  int rc = ResolveTrack(command, args, io, &info);
  if (rc != kOk) return rc;
  if (args.Has("--json"))
    PrintJson(info, io.out);
  else
    PrintText(info, io.out);
  if (record && !Hit(&info))
    return Fail(io, command, "the play was not recorded: " + LastIoError());
  return kOk;
}

int RunPlay(const std::vector<std::string>& argv, Io& io) {
  return RunTrackCommand("play", kPlayUsage, true, argv, io);
}

int RunInfo(const std::vector<std::string>& argv, Io& io) {
  return RunTrackCommand("info", kInfoUsage, false, argv, io);
}

Registration play({"play", "record one play of a track file", RunPlay});
Registration info({"info", "show a track's statistics", RunInfo});

}  // namespace

}  // namespace spinox::cli
