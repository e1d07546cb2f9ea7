// spinox html: the hit list as the HTML export writes it, with the HTML settings of a settings
// file.
#include <string>
#include <vector>

#include "base/text.h"
#include "db/paths.h"
#include "html/color.h"
#include "html/html_settings.h"
#include "html/html_writer.h"
#include "html/page_images.h"
#include "html/sample_template.h"
#include "html/tags.h"
#include "settings/settings.h"
#include "tool/chart_common.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox html [chart options] [--settings FILE] -o OUT\n"
    "Writes the hit list as an HTML page with the HTML settings of FILE (default: the\n"
    "database folder's gen_spinox.dat, else the defaults): the built-in page, or the template\n"
    "that file names. The sample template is installed in the database folder when missing.\n";

// Width of the list view the page's column shares are taken from: the hit list window's.
int32_t ListWidth(const Settings& settings) {
  int32_t w = RectWidth(settings._rectHit);
  return w > 0 && w < 100000 ? w : 400;
}

int RunHtml(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  std::vector<std::string> valued = kChartValued;
  valued.insert(valued.end(), {"-o", "--settings"});
  if (!ParseArgs(argv, valued, kChartFlags, "html", &args, io)) return kBadUsage;
  if (args.help) {
    PrintUsage(io, kUsage);
    return kOk;
  }
  if (!args.positional.empty()) return Fail(io, "html", "unexpected argument", kBadUsage);
  std::string out = args.Get("-o");
  if (out.empty()) return Fail(io, "html", "give the output file with -o", kBadUsage);
  M3uPlayer player;
  Chart chart;
  int rc = ComputeChart(args, "html", io, true, &player, &chart);
  if (rc != kOk) return rc;
  InstallSampleTemplate(FullPath(kSampleTemplateName));
  HtmTableProps table;
  HtmRowProps top, rest;
  HtmPageProps page;
  FillTableStruct(chart.settings.html, kNoColor, &table, &top, &rest, &page);
  HtmTagValues tags;
  GetTags(chart.list, &tags, TimeFormatsOf(chart.settings));
  TableListOnShow list = MakeListOnShow(chart.columns, chart.rows, ListWidth(chart.settings));
  int32_t columns = static_cast<int32_t>(chart.columns.size());
  std::string error;
  if (!WriteHtm(table, top, rest, page, tags, out, list, columns, &error))
    return Fail(io, "html", error);
  int missing = CopyPageImages({out, table, top, rest, page}, chart.settings.html);
  if (missing > 0)
    std::fprintf(io.err, "spinox html: %d background image(s) could not be copied beside '%s'\n",
                 missing, out.c_str());
  return kOk;
}

Registration html({"html", "write the hit list as an HTML page", RunHtml});

}  // namespace

}  // namespace spinox::cli
