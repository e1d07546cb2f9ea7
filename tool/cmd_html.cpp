// spinox html: the hit list as the HTML export writes it, with the HTML settings of a settings
// file.
#include <filesystem>
#include <string>
#include <vector>

#include "base/text.h"
#include "db/database.h"
#include "db/settings.h"
#include "html/color.h"
#include "html/html_settings.h"
#include "html/html_writer.h"
#include "html/sample_template.h"
#include "html/tags.h"
#include "tool/chart_common.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox html [chart options] [--settings FILE] -o OUT\n"
    "Writes the hit list as an HTML page with the HTML settings of FILE (default: the\n"
    "database folder's gen_spinox.dat, else the defaults): the built-in page, or the template\n"
    "that file names. The sample template is installed in the database folder when missing.\n";

// Width of the list view the page's column shares are taken from: the hit list window's.
int32_t ListWidth() {
  int32_t w = _rectHit.right - _rectHit.left;
  return w > 0 && w < 100000 ? w : 400;
}

// Copies the chosen background images beside the page; an existing file there stays.
void CopyImages(const std::string& out, const HtmTableProps& table, const HtmRowProps& top,
                const HtmRowProps& rest, const HtmPageProps& page) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(out).parent_path();
  const std::pair<const char*, const char*> images[] = {{table.background, _htm_table_img},
                                                        {page.background, _htm_page_img},
                                                        {rest.background, _htm_rest_img},
                                                        {top.background, _htm_top_img}};
  for (const auto& [name, source] : images) {
    std::string n = FieldText(name, kPathSize), s = FieldText(source, kPathSize);
    if (n.empty() || s.empty()) continue;
    std::error_code ec;
    fs::copy_file(s, dir / n, fs::copy_options::skip_existing, ec);
  }
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
  FillTableStruct(_htmDialog, kNoColorValue, &table, &top, &rest, &page);
  HtmTagValues tags;
  GetTags(&tags);
  TableListOnShow list = MakeListOnShow(chart.columns, chart.rows, ListWidth());
  int32_t columns = static_cast<int32_t>(chart.columns.size());
  if (!WriteHtm(table, top, rest, page, tags, out, list, columns))
    return Fail(io, "html",
                page.useTemplate
                    ? "Could not open template file '" + FieldText(page.templatePath) + "'"
                    : "cannot write '" + out + "'");
  CopyImages(out, table, top, rest, page);
  return kOk;
}

Registration html({"html", "write the hit list as an HTML page", RunHtml});

}  // namespace

}  // namespace spinox::cli
