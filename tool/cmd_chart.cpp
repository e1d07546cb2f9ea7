// spinox chart: the hit list as the hit list window shows it.
#include <string>
#include <vector>

#include "tool/chart_common.h"
#include "tool/json.h"
#include "tool/text_out.h"

namespace spinox::cli {

namespace {

const char kUsage[] =
    "usage: spinox chart [chart options] [--format text|csv|json]\n"
    "Prints the hit list with the columns, cell texts and title line of the hit list window.\n";

std::vector<std::string> Headings(const Chart& chart) {
  std::vector<std::string> h;
  for (const HitListColumn& c : chart.columns) h.push_back(c.title);
  return h;
}

void PrintText(const Chart& chart, FILE* out) {
  std::vector<std::vector<std::string>> table = {Headings(chart)};
  for (const auto& row : chart.rows.cells) {
    table.emplace_back();
    for (const std::string& cell : row) table.back().push_back(TerminalText(cell));
  }
  std::vector<size_t> widths(chart.columns.size(), 0);
  for (const auto& row : table)
    for (size_t c = 0; c < row.size() && c < widths.size(); ++c)
      widths[c] = std::max(widths[c], ColumnWidth(row[c]));
  std::fprintf(out, "%s\n", TerminalText(chart.rows.title).c_str());
  for (const auto& row : table) {
    std::string line;
    for (size_t c = 0; c < row.size() && c < widths.size(); ++c) {
      bool centre = chart.columns[c].format == kColumnCenter;
      std::string pad(widths[c] - ColumnWidth(row[c]), ' ');
      line += (centre ? pad + row[c] : row[c] + (c + 1 < row.size() ? pad : "")) + "  ";
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    std::fprintf(out, "%s\n", line.c_str());
  }
}

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string out = "\"";
  for (char ch : text) out += ch == '"' ? std::string("\"\"") : std::string(1, ch);
  return out + "\"";
}

void PrintCsvRow(const std::vector<std::string>& cells, FILE* out) {
  std::string line;
  for (size_t c = 0; c < cells.size(); ++c) line += (c ? "," : "") + CsvField(cells[c]);
  std::fprintf(out, "%s\n", line.c_str());
}

void PrintCsv(const Chart& chart, FILE* out) {
  PrintCsvRow(Headings(chart), out);
  for (const auto& row : chart.rows.cells) PrintCsvRow(row, out);
}

void PrintJson(const Chart& chart, FILE* out) {
  std::string s = "{\"title\": " + JsonString(chart.rows.title) + ",\n \"columns\": [";
  for (size_t c = 0; c < chart.columns.size(); ++c)
    s += (c ? ", " : "") + JsonString(chart.columns[c].title);
  s += "],\n \"rows\": [";
  for (size_t r = 0; r < chart.rows.cells.size(); ++r) {
    s += r ? ",\n  [" : "\n  [";
    const auto& row = chart.rows.cells[r];
    for (size_t c = 0; c < row.size(); ++c) s += (c ? ", " : "") + JsonString(row[c]);
    s += "]";
  }
  s += "]}\n";
  std::fputs(s.c_str(), out);
}

int RunChart(const std::vector<std::string>& argv, Io& io) {
  ParsedArgs args;
  std::vector<std::string> valued = kChartValued;
  valued.push_back("--format");
  if (!ParseArgs(argv, valued, kChartFlags, "chart", &args, io)) return kBadUsage;
  if (args.help) {
    PrintUsage(io, kUsage);
    return kOk;
  }
  std::string format = args.Get("--format", "text");
  if (format != "text" && format != "csv" && format != "json")
    return Fail(io, "chart", "bad --format '" + format + "'", kBadUsage);
  if (!args.positional.empty()) return Fail(io, "chart", "unexpected argument", kBadUsage);
  M3uPlayer player;
  Chart chart;
  int rc = ComputeChart(args, "chart", io, false, &player, &chart);
  if (rc != kOk) return rc;
  if (format == "csv")
    PrintCsv(chart, io.out);
  else if (format == "json")
    PrintJson(chart, io.out);
  else
    PrintText(chart, io.out);
  return kOk;
}

Registration chart({"chart", "print the hit list of a period", RunChart});

}  // namespace

}  // namespace spinox::cli
