// spinox restore: replaces the database by a backup file's records.
#include <cerrno>

#include "base/file.h"
#include "db/backup.h"
#include "db/records.h"
#include "tool/args.h"
#include "tool/terminal_user.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox restore [--db DIR] [--yes] FILE\n"
    "Replaces the four record files by those held in the backup FILE. The whole\n"
    "file is checked first; a file that is not a backup changes nothing.\n\n"
    "  --db DIR    folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n"
    "  --yes       do not ask before replacing the database\n";

int RunRestore(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {"--db"}, {"--yes"}, "restore", &args, io)) return kBadUsage;
  if (args.help) return std::fprintf(io.out, "%s", kUsage), kOk;
  if (args.positional.size() != 1) return Fail(io, "restore", "give one FILE", kBadUsage);
  if (!UseDatabaseForWriting(args, "restore", io)) return kFailed;
  if (!File(args.positional[0], "rb").IsOpen())
    return Fail(io, "restore",
                "cannot read '" + args.positional[0] + "': " + FileErrorText(errno) +
                    "; the database was not changed");
  TerminalUser user(io, args.Has("--yes") ? Answer::kYes : Answer::kAsk);
  user.SetFile(args.positional[0]);
  RestoreResult result = RestoreDatabase();
  if (result == RestoreResult::kDeclined) return Fail(io, "restore", "nothing was changed");
  if (result != RestoreResult::kRestored) return Fail(io, "restore", user.note());
  std::fprintf(io.out, "%s\n", user.note().c_str());
  return kOk;
}

Registration restore({"restore", "replace the database by a backup file", RunRestore});

}  // namespace

}  // namespace spinox::cli
