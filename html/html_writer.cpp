#include "html/html_writer.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "base/codepage.h"
#include "base/file.h"
#include "base/replace_file.h"
#include "base/text.h"
#include "db/paths.h"
#include "html/sample_template.h"
#include "html/tags.h"

namespace spinox {

namespace {

constexpr size_t kMaxTemplateSize = size_t{16} << 20;
constexpr size_t kMaxCellText = 99;

const char* const kAlignBlocks[] = {"", "<div align=\"left\">", "<div align=\"center\">",
                                    "<div align=\"right\">"};

std::string Format(const char* format, int32_t value) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, value);
  return buf;
}

// `name="value"` for a text setting, empty when the setting is.
template <size_t N>
std::string Attribute(const char* name, const char (&value)[N]) {
  std::string text = FieldText(value);
  if (text.empty()) return std::string();
  return std::string(name) + "=\"" + HtmlEscape(text) + "\"";
}

std::string AlignAttribute(int32_t align) {
  static const char* const kAligns[] = {"", "align=\"left\"", "align=\"center\"",
                                        "align=\"right\""};
  return align >= 1 && align <= 3 ? kAligns[align] : "";
}

// The pieces every cell of one row style is made of.
struct RowStyle {
  std::string rowOpen;
  std::string cellOpen;
  std::string cellClose;
  int32_t align;
  const char* block = nullptr;  // the alignment block last chosen
};

RowStyle MakeStyle(const HtmRowProps& p, bool topRow) {
  RowStyle s;
  s.rowOpen =
      "<tr " + Attribute("bgcolor", p.bgColor) + " " + Attribute("background", p.background) + " >";
  std::string color = Attribute("color", p.color);
  std::string size = p.size[0] == 'N' ? "" : Attribute("size", p.size);
  std::string face = FieldText(p.face) == "Default Font" ? "" : Attribute("face", p.face);
  const char* gap = topRow ? " " : "";
  s.cellOpen = std::string(p.italic ? "<em>" : "") + (p.bold ? "<strong>" : "") + " <font " +
               color + gap + size + gap + face + " >";
  s.cellClose = std::string("</font>") + (p.bold ? "</strong>" : "") + (p.italic ? "</em>" : "");
  s.align = p.align;
  if (p.align >= 1 && p.align <= 3) s.block = kAlignBlocks[p.align];
  return s;
}

// The alignment block of a cell: the style's own, else the column's justification (the low
// two bits of its format, whatever other flags the list view adds); a format without one keeps
// the block chosen last.
const char* CellBlock(RowStyle* s, ListOnShow& list, int32_t column) {
  if (s->align >= 1 && s->align <= 3) return s->block;
  int32_t justify = list.ColumnFormat(column) & 3;
  if (justify == 0) s->block = kAlignBlocks[1];
  if (justify == 1) s->block = kAlignBlocks[3];
  if (justify == 2) s->block = kAlignBlocks[2];
  return s->block;
}

void WriteRow(std::string* out, RowStyle* s, ListOnShow& list, int32_t row, int32_t columns) {
  *out += s->rowOpen + "\n";
  int32_t listWidth = list.ListWidth();
  for (int32_t c = 0; c < columns; ++c) {
    const char* block = CellBlock(s, list, c);
    int32_t width =
        listWidth ? static_cast<int32_t>(int64_t{list.ColumnWidth(c)} * 100 / listWidth) : 0;
    std::string text = row < 0 ? list.ColumnTitle(c) : list.CellText(row, c);
    if (text.size() > kMaxCellText) text.resize(kMaxCellText);
    *out += Format("<td width=\"%d%%\">", width) + (block ? block : "") + s->cellOpen +
            HtmlEscape(text) + s->cellClose + (block ? "</div>" : "") + "</td>\n";
  }
  *out += "</tr>\n";
}

// Every line feed not already preceded by a carriage return gets one.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

void BuiltInPage(std::string* out, const HtmTableProps& table, const HtmRowProps& top,
                 const HtmRowProps& rest, const HtmPageProps& page, const HtmTagValues& tags,
                 ListOnShow& list, int32_t columnCount) {
  *out += "<html>\n<head>\n<title>";
  TagScanTxt(out, FieldText(page.title).c_str(), tags);
  *out +=
      "</title>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n</head>";
  *out += "<body";
  std::string bg = Attribute("bgcolor", page.bgColor);
  std::string image = Attribute("background", page.background);
  if (!bg.empty()) *out += " " + bg;
  if (!image.empty()) *out += " " + image;
  *out += ">";
  htmTable(out, table, top, rest, list, columnCount);
  *out += "</body>\n</html>";
}

// The template's text in UTF-8; the data folder's sample template from its built-in text when
// the file is missing.
bool ReadTemplate(const std::string& path, std::string* text, std::string* why) {
  if (path.empty()) {
    *why = "no template file is chosen";
    return false;
  }
  std::vector<unsigned char> bytes;
  if (!ReadFileRange(path, 0, kMaxTemplateSize + 1, &bytes)) {
    int err = errno;
    if (KindOf(path) == PathKind::kMissing && path == FullPath(kSampleTemplateName)) {
      *text = kSampleTemplate;
      return true;
    }
    *why = FileErrorText(err);
    return false;
  }
  if (bytes.size() > kMaxTemplateSize) {
    *why = "it is larger than " + std::to_string(kMaxTemplateSize >> 20) + " MB";
    return false;
  }
  *text = TemplateAsUtf8(std::string(bytes.begin(), bytes.end()));
  return true;
}

}  // namespace

std::string HtmlEscape(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  for (char ch : text) {
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += ch;
    }
  }
  return out;
}

void htmTable(std::string* out, const HtmTableProps& table, const HtmRowProps& top,
              const HtmRowProps& rest, ListOnShow& list, int32_t columnCount) {
  std::string width = Format(table.widthInPixels ? "width=\"%d\"" : "width=\"%d%%\"", table.width);
  *out += "<table " + width + Format(" border=\"%d\" ", table.border) +
          AlignAttribute(table.align) + Format(" cellpadding=\"%d\" ", table.cellPadding);
  *out += Format("cellspacing=\"%d\" ", table.cellSpacing) +
          Attribute("bordercolor", table.borderColor) + " " + Attribute("bgcolor", table.bgColor) +
          " " + Attribute("background", table.background) + " >\n";
  RowStyle topStyle = MakeStyle(top, true);
  RowStyle restStyle = MakeStyle(rest, false);
  WriteRow(out, &topStyle, list, -1, columnCount);
  int32_t rows = list.RowCount();
  for (int32_t r = 0; r < rows; ++r) WriteRow(out, &restStyle, list, r, columnCount);
  *out += "</table>\n";
}

int WriteHtm(const HtmTableProps& table, const HtmRowProps& top, const HtmRowProps& rest,
             const HtmPageProps& page, const HtmTagValues& tags, const std::string& path,
             ListOnShow& list, int32_t columnCount, std::string* error) {
  std::string html, why;
  if (page.useTemplate) {
    std::string templatePath = FieldText(page.templatePath), text;
    if (!ReadTemplate(templatePath, &text, &why)) {
      if (error) *error = "Could not read the template file '" + templatePath + "': " + why;
      return 0;
    }
    HtmTableSource source{&table, &top, &rest, &list, columnCount};
    TagScanTmpl(&html, text, tags, source);
  } else {
    BuiltInPage(&html, table, top, rest, page, tags, list, columnCount);
  }
  html = WithCrLf(html);
  if (WriteFileReplacing(path, html.data(), html.size(), &why)) return 1;
  if (error) *error = "Could not write '" + path + "': " + why;
  return 0;
}

}  // namespace spinox
