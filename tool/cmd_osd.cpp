// spinox osd: the on-screen display's text for a track, as the plug-in shows it when the file
// starts.
#include <string>
#include <vector>

#include "base/codepage.h"
#include "base/file.h"
#include "base/text.h"
#include "db/play.h"
#include "hitlist/hitlist.h"
#include "hitlist/period.h"
#include "settings/settings.h"
#include "tags/track_tag.h"
#include "tool/chart_common.h"
#include "tool/text_out.h"
#include "ui/osd/display_text.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox osd [--template T] [chart options] FILE\n"
    "Prints the display text the plug-in shows when FILE starts: the display template of the\n"
    "settings (or T, where \\n stands for a line break) with the track's statistics and its\n"
    "position in the hit list the chart options describe.\n";

// The template as typed on the command line: UTF-8, with \n for a line feed.
std::string TemplateText(const std::string& typed) {
  std::string text;
  for (size_t i = 0; i < typed.size(); ++i) {
    if (typed[i] == '\\' && i + 1 < typed.size() && typed[i + 1] == 'n') {
      text += '\n';
      ++i;
    } else {
      text += typed[i];
    }
  }
  return CleanUtf8(text);
}

int RunOsd(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  std::vector<std::string> valued = kChartValued;
  valued.push_back("--template");
  if (!ParseArgs(argv, valued, kChartFlags, "osd", &args, io)) return kBadUsage;
  if (args.help) {
    PrintUsage(io, kUsage);
    return kOk;
  }
  if (args.positional.size() != 1) return Fail(io, "osd", "give one FILE (see --help)", kBadUsage);
  std::string path = AbsolutePath(args.positional[0]);
  if (!FileExists(path)) return Fail(io, "osd", "cannot read '" + path + "'");
  if (path.size() >= kPathSize) return Fail(io, "osd", "path longer than 249 bytes: " + path);
  M3uPlayer player;
  Chart chart;
  int rc = ComputeChart(args, "osd", io, false, &player, &chart);
  if (rc != kOk) return rc;
  Settings& settings = chart.settings;
  std::string tmpl = args.values.count("--template") ? TemplateText(args.Get("--template"))
                                                     : FieldText(settings._txt_text);
  if (tmpl.size() >= sizeof settings._txt_text)
    return Fail(io, "osd", "template longer than 199 bytes", kBadUsage);
  SetField(settings._txt_text, tmpl);
  TrackTag tag = {};
  SetField(tag.file, path);
  ReadTag(&tag);
  SongInfo song = {};
  TagToData(tag, &song);
  FillSongInfo(&song);
  CurrentHitlistPos(chart.list, song, nullptr);
  DisplayState display;
  ExpandTxtDisplay(settings, song, chart.list.lvPlaying, &display);
  std::fprintf(io.out, "%s\n", TerminalText(FieldText(display._txt_display), true).c_str());
  return kOk;
}

Registration osd({"osd", "print the on-screen display text for a track", RunOsd});

}  // namespace

}  // namespace spinox::cli
