// spinox backup: one backup file of the four record files, as the settings dialog makes it.
#include "db/backup.h"
#include "db/paths.h"
#include "tool/args.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox backup [--db DIR] [--at DATE]\n"
    "Writes a backup of the database beside its files, named from the time\n"
    "(\"Spinox-Mar 03, 25,0907.bak\"), and prints its path.\n\n"
    "  --db DIR    folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n"
    "  --at DATE   the time taken as now: YYYY-MM-DD[THH:MM[:SS]] (local) or @UNIXTIME\n";

int RunBackup(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {"--db", "--at"}, {}, "backup", &args, io)) return kBadUsage;
  if (args.help) return std::fprintf(io.out, "%s", kUsage), kOk;
  if (!args.positional.empty()) return Fail(io, "backup", "takes no arguments", kBadUsage);
  if (!ApplyNow(args, "--at", "backup", io)) return kBadUsage;
  if (!UseDatabaseDir(args, "backup", io)) return kFailed;
  std::string path = BackupDatabase();
  if (path.empty()) return Fail(io, "backup", "could not write a backup in " + DataDir());
  std::fprintf(io.out, "%s\n", path.c_str());
  return kOk;
}

Registration backup({"backup", "write a backup file of the database", RunBackup});

}  // namespace

}  // namespace spinox::cli
