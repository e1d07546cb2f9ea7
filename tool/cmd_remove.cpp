// spinox remove: erases a song from the statistics, as the hit list's "Remove".
#include "base/file.h"
#include "base/user.h"
#include "db/paths.h"
#include "db/play.h"
#include "db/record_io.h"
#include "tool/args.h"
#include "tool/terminal_user.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox remove [--db DIR] [--yes] SONG_ID\n"
    "Marks the song and its plays deleted; its album and artist records stay.\n\n"
    "  --db DIR    folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n"
    "  --yes       do not ask first\n";

bool ParseId(const std::string& text, RecId* id) {
  if (text.empty() || text.size() > 10) return false;
  unsigned long long v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<unsigned>(c - '0');
  }
  if (v >= kNoId) return false;
  *id = static_cast<RecId>(v);
  return true;
}

RecId SongCount() {
  File f(FullPath(kSongFile), "rb");
  return f.IsOpen() ? CountRecords(f, sizeof(SongRecord)) : 0;
}

int RunRemove(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {"--db"}, {"--yes"}, "remove", &args, io)) return kBadUsage;
  if (args.help) return std::fprintf(io.out, "%s", kUsage), kOk;
  if (args.positional.size() != 1) return Fail(io, "remove", "give one SONG_ID", kBadUsage);
  RecId id;
  if (!ParseId(args.positional[0], &id))
    return Fail(io, "remove", "'" + args.positional[0] + "' is not a song id");
  if (!UseDatabaseForWriting(args, "remove", io)) return kFailed;
  if (id >= SongCount()) return Fail(io, "remove", "there is no song " + args.positional[0]);
  uint32_t own = kNoId;
  if (ReadAt(kSongFile, static_cast<int64_t>(id) * sizeof(SongRecord), &own, sizeof own) &&
      own == kNoId)
    return Fail(io, "remove", "song " + args.positional[0] + " was already removed");
  TerminalUser user(io, args.Has("--yes") ? Answer::kYes : Answer::kAsk);
  if (!CurrentUser().Ask(
          "The selected song will be completely removed from the database.\n\nAre you sure?",
          "Remove Song from Database"))
    return Fail(io, "remove", "nothing was changed");
  if (!RemoveFromDatabase(id)) return Fail(io, "remove", LastIoError() + "; nothing was changed");
  std::fprintf(io.out, "removed song %u\n", id);
  return kOk;
}

Registration remove({"remove", "remove a song and its plays", RunRemove});

}  // namespace

}  // namespace spinox::cli
