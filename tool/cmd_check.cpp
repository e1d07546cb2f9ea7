// spinox check: verifies a database and, with --repair, mends what can be mended.
#include <cstdio>
#include <string>
#include <vector>

#include "base/codepage.h"
#include "db/check.h"
#include "db/paths.h"
#include "db/repair.h"
#include "tool/args.h"
#include "tool/json.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox check [--db DIR] [--repair] [--json]\n"
    "Verifies the database: every record file holds whole records (a partial one at the end\n"
    "is a write cut short), every id names a record that exists, each play's album and artist\n"
    "ids are those of its song, deleted marks agree (no play of a deleted song, no deleted\n"
    "play naming an album or artist, no song of a deleted album or artist), each song's names\n"
    "are those of its album and artist records, and play times never go backwards. Says\n"
    "whether the texts are UTF-8 or an earlier version's ANSI code page (converted at the\n"
    "next start), and in a UTF-8 folder reports every text that is not well-formed UTF-8.\n"
    "Prints what it found and exits 1 when anything is wrong. Nothing is changed without\n"
    "--repair.\n"
    "\n  --db DIR    folder of the gen_spinox.* files (default $SPINOX_DB, else .)\n"
    "  --repair    first mend what can be mended without guessing: cut off partial records,\n"
    "              fill album and artist ids missing from songs (only when the song's names\n"
    "              find exactly one such record) and from the plays of those songs; then\n"
    "              check again. Everything else is reported and left as it is.\n"
    "  --json      print JSON\n";

std::string Where(const CheckFinding& f) {
  return f.record < 0 ? f.file : f.file + " record " + std::to_string(f.record);
}

std::string TextsLine(const CheckReport& r) {
  return r.utf8 ? "UTF-8" : "ANSI code page (" + AnsiCharset() + "), converted at the next start";
}

void PrintText(const CheckReport& r, const RepairReport* repair, FILE* out) {
  for (const std::string& line : repair ? repair->done : std::vector<std::string>())
    std::fprintf(out, "repaired: %s\n", line.c_str());
  std::fprintf(out, "database %s: %lld songs, %lld albums, %lld artists, %lld plays\n",
               DataDir().c_str(), static_cast<long long>(r.songs), static_cast<long long>(r.albums),
               static_cast<long long>(r.artists), static_cast<long long>(r.hits));
  std::fprintf(out, "texts: %s\n", TextsLine(r).c_str());
  for (int kind = 0; kind < kCheckProblemKinds; ++kind) {
    for (const CheckFinding& f : r.shown)
      if (static_cast<int>(f.problem) == kind)
        std::fprintf(out, "%s: %s\n", Where(f).c_str(), f.text.c_str());
    int64_t more = r.count[kind] - CheckReport::kShownPerKind;
    if (more > 0)
      std::fprintf(out, "  ... and %lld more like the above (%s)\n", static_cast<long long>(more),
                   ProblemName(static_cast<CheckProblem>(kind)));
  }
  if (r.Clean()) {
    std::fprintf(out, "no problems found\n");
    return;
  }
  std::fprintf(out, "%lld problem(s) found", static_cast<long long>(r.Problems()));
  if (r.MendableProblems() > 0)
    std::fprintf(out, "; %lld can be mended with --repair",
                 static_cast<long long>(r.MendableProblems()));
  std::fprintf(out, "\n");
}

std::string JsonList(const std::vector<std::string>& lines) {
  std::string s = "[";
  for (size_t i = 0; i < lines.size(); ++i) s += (i ? ", " : "") + JsonString(lines[i]);
  return s + "]";
}

void PrintJson(const CheckReport& r, const RepairReport* repair, FILE* out) {
  std::string s =
      "{\"database\": " + JsonString(DataDir()) + ", \"songs\": " + std::to_string(r.songs) +
      ", \"albums\": " + std::to_string(r.albums) + ", \"artists\": " + std::to_string(r.artists) +
      ", \"plays\": " + std::to_string(r.hits) +
      ", \"texts\": " + JsonString(r.utf8 ? "utf-8" : AnsiCharset()) +
      ",\n \"clean\": " + (r.Clean() ? "true" : "false");
  if (repair)
    s += ",\n \"repaired\": " + JsonList(repair->done) +
         ",\n \"not_repaired\": " + JsonList(repair->failed);
  s += ",\n \"problems\": {";
  bool first = true;
  for (int kind = 0; kind < kCheckProblemKinds; ++kind) {
    if (r.count[kind] == 0) continue;
    s += (first ? "" : ", ") + JsonString(ProblemName(static_cast<CheckProblem>(kind))) + ": " +
         std::to_string(r.count[kind]);
    first = false;
  }
  s += "},\n \"shown\": [";
  for (size_t i = 0; i < r.shown.size(); ++i) {
    const CheckFinding& f = r.shown[i];
    s += std::string(i ? "," : "") + "\n  {\"problem\": " + JsonString(ProblemName(f.problem)) +
         ", \"file\": " + JsonString(f.file) + ", \"record\": " + std::to_string(f.record) +
         ", \"mendable\": " + (Mendable(f.problem) ? "true" : "false") +
         ", \"text\": " + JsonString(f.text) + "}";
  }
  s += "]}\n";
  std::fputs(s.c_str(), out);
}

int RunCheck(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  if (!ParseArgs(argv, {"--db"}, {"--repair", "--json"}, "check", &args, io)) return kBadUsage;
  if (args.help) return std::fprintf(io.out, "%s", kUsage), kOk;
  if (!args.positional.empty()) return Fail(io, "check", "takes no arguments", kBadUsage);
  SetDatabaseDir(args);
  RepairReport repair;
  if (args.Has("--repair")) repair = RepairDatabase();
  CheckReport report = CheckDatabase();
  for (const std::string& line : repair.failed) Fail(io, "check", "not repaired: " + line);
  if (!report.error.empty()) return Fail(io, "check", report.error);
  if (!report.anyFile && !report.count[static_cast<int>(CheckProblem::kUnfinishedChange)])
    return Fail(io, "check", "no database in " + DataDir());
  const RepairReport* repaired = args.Has("--repair") ? &repair : nullptr;
  if (args.Has("--json"))
    PrintJson(report, repaired, io.out);
  else
    PrintText(report, repaired, io.out);
  return report.Clean() && repair.failed.empty() ? kOk : kFailed;
}

Registration check({"check", "verify a database and mend what can be mended", RunCheck});

}  // namespace

}  // namespace spinox::cli
