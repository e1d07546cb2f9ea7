// spinox clear: empties the four record files, as the settings dialog's "Clear Database".
#include "base/file.h"
#include "db/changes.h"
#include "db/paths.h"
#include "tool/args.h"
#include "tool/terminal_user.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox clear [--db DIR] [--yes]\n"
    "Empties the four record files; the settings file stays.\n\n"
    "  --db DIR    folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n"
    "  --yes       do not ask first\n";

int RunClear(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {"--db"}, {"--yes"}, "clear", &args, io)) return kBadUsage;
  if (args.help) return std::fprintf(io.out, "%s", kUsage), kOk;
  if (!args.positional.empty()) return Fail(io, "clear", "takes no arguments", kBadUsage);
  if (!UseDatabaseForWriting(args, "clear", io)) return kFailed;
  TerminalUser user(io, args.Has("--yes") ? Answer::kYes : Answer::kAsk);
  if (!ClearDatabase())
    return Fail(io, "clear", user.note().empty() ? "nothing was changed" : user.note());
  std::fprintf(io.out, "database cleared in %s\n", DataDir().c_str());
  return kOk;
}

Registration clear({"clear", "empty the database", RunClear});

}  // namespace

}  // namespace spinox::cli
