// spinox convert: splits an old single-file database in gen_spinox.dat into the record files,
// and carries an earlier version's texts over to UTF-8.
#include "base/codepage.h"
#include "base/file.h"
#include "db/convert_text.h"
#include "db/oldformat.h"
#include "db/paths.h"
#include "settings/settings.h"
#include "tool/args.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox convert [--db DIR]\n"
    "When gen_spinox.dat holds a database of the old single-file layout, rebuilds\n"
    "the four record files from it (replacing them) and leaves a settings file that\n"
    "holds only the magic, as the plug-in does at start-up. When the folder holds a\n"
    "database of an earlier version (texts in the ANSI code page, no gen_spinox.utf8),\n"
    "writes a backup of it and converts every text of the record files and of the\n"
    "settings file to UTF-8, all at once; any other file is left as it is.\n\n"
    "  --db DIR    folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n";

int RunConvert(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {"--db"}, {}, "convert", &args, io)) return kBadUsage;
  if (args.help) return std::fprintf(io.out, "%s", kUsage), kOk;
  if (!args.positional.empty()) return Fail(io, "convert", "takes no arguments", kBadUsage);
  if (!UseDatabaseDir(args, "convert", io)) return kFailed;
  std::string path = FullPath(kSettingsFile);
  File f(path, "rb");
  if (!f.IsOpen()) return Fail(io, "convert", "cannot read '" + path + "'");
  Settings rec;
  if (ReadSettingsFile(path, &rec)) {
    f.Close();
    std::string backup;
    TextConversion texts = EnsureUtf8Database(&backup);
    if (texts == TextConversion::kFailed)
      return Fail(io, "convert", LastIoError() + "; nothing was changed");
    if (texts == TextConversion::kUtf8)
      return Fail(io, "convert", "'" + path + "' is a settings file: nothing to convert");
    std::fprintf(io.out, "converted the texts from %s to UTF-8; the earlier database is in '%s'\n",
                 AnsiCharset().c_str(), backup.c_str());
    return kOk;
  }
  Sections s;
  if (!ParseOldDatabase(f, &s))
    return Fail(io, "convert", "'" + path + "' is not an old database: nothing was changed");
  f.Close();
  if (BreakDownOldVersionDatFile() != OldFormatResult::kConverted)
    return Fail(io, "convert", LastIoError() + "; nothing was changed");
  std::fprintf(io.out, "converted: %u hits, %u songs, %u artists, %u albums\n", s.count[0],
               s.count[1], s.count[2], s.count[3]);
  return kOk;
}

Registration convert({"convert", "convert an old single-file database", RunConvert});

}  // namespace

}  // namespace spinox::cli
