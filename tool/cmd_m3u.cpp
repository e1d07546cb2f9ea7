// spinox m3u: the hit list as an M3U playlist, as "Save as Playlist" writes it.
#include <cstdio>
#include <string>
#include <vector>

#include "hitlist/hitlist.h"
#include "hitlist/playlist.h"
#include "tool/chart_common.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox m3u [chart options] -o OUT\n"
    "Writes the hit list as an M3U playlist: songs and the log in list order, albums and\n"
    "artists as all their songs in database order. OUT.m3u8 is written in UTF-8; any other\n"
    "name (OUT.m3u) in the ANSI code page, as the player reads it.\n";

int RunM3u(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  std::vector<std::string> valued = kChartValued;
  valued.push_back("-o");
  if (!ParseArgs(argv, valued, kChartFlags, "m3u", &args, io)) return kBadUsage;
  if (args.help) {
    PrintUsage(io, kUsage);
    return kOk;
  }
  if (!args.positional.empty()) return Fail(io, "m3u", "unexpected argument", kBadUsage);
  if (args.Get("-o").empty()) return Fail(io, "m3u", "give the output file with -o", kBadUsage);
  M3uPlayer player;
  Chart chart;
  int rc = ComputeChart(args, "m3u", io, false, &player, &chart);
  if (rc != kOk) return rc;
  std::string why, note;
  const ShownList& list = chart.list;
  if (!WritePlaylist(args.Get("-o"), list.settings._type, list._hitlistsize, list._hitlist.data(),
                     &why, &note))
    return Fail(io, "m3u", "cannot write '" + args.Get("-o") + "': " + why);
  if (!note.empty()) std::fprintf(io.err, "spinox m3u: %s\n", note.c_str());
  return kOk;
}

Registration m3u({"m3u", "write the hit list as an M3U playlist", RunM3u});

}  // namespace

}  // namespace spinox::cli
