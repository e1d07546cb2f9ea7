#include "html/html_settings.h"

#include "base/text.h"
#include "html/color.h"

namespace spinox {

namespace {

const char* const kFontSizes[] = {"None", "1",  "2",  "3",  "4",  "5",  "6",  "7",
                                  "+1",   "+2", "+3", "+4", "+5", "+6", "+7", "-1",
                                  "-2",   "-3", "-4", "-5", "-6", "-7"};

void FillRow(const char* face, int32_t sizeIndex, int32_t align, int32_t bold, int32_t italic,
             uint32_t fg, uint32_t bg, const char* image, HtmRowProps* row) {
  *row = HtmRowProps{};
  CopyText(row->face, sizeof row->face, face);
  SetField(row->size, FontSizeText(sizeIndex));
  row->align = align;
  row->bold = bold;
  row->italic = italic;
  CREFToHTMColor(fg, row->color);
  CREFToHTMColor(bg, row->bgColor);
  CopyText(row->background, sizeof row->background, image);
}

}  // namespace

const char* FontSizeText(int32_t index) {
  return index >= 0 && index < 22 ? kFontSizes[index] : kFontSizes[0];
}

void FillTableStruct(const HtmlSettings& html, uint32_t pageBg, HtmTableProps* table,
                     HtmRowProps* top, HtmRowProps* rest, HtmPageProps* page) {
  const HtmlDialog& d = html._htmDialog;
  *table = HtmTableProps{};
  table->align = d.tableAlign;
  table->border = d.borderWidth;
  CREFToHTMColor(html._htm_table_bg, table->bgColor);
  CREFToHTMColor(html._htm_table_brd, table->borderColor);
  SetField(table->background, FieldText(d.tableImgBox));
  table->cellPadding = d.cellPadding;
  table->cellSpacing = d.cellSpacing;
  table->width = d.tableWidth;
  table->widthInPixels = d.widthUnit;
  FillRow(FieldText(d.topFont).c_str(), d.topFontSize, d.topAlign, d.topBold, d.topItalic,
          html._htm_top_fg, html._htm_top_bg, FieldText(d.topImgBox).c_str(), top);
  FillRow(FieldText(d.restFont).c_str(), d.restFontSize, d.restAlign, d.restBold, d.restItalic,
          html._htm_rest_fg, html._htm_rest_bg, FieldText(d.restImgBox).c_str(), rest);
  *page = HtmPageProps{};
  SetField(page->title, FieldText(d.pageTitle));
  SetField(page->templatePath, FieldText(d.templateFile));
  SetField(page->background, FieldText(d.pageImgBox));
  page->useTemplate = d.useTemplate;
  page->openInBrowser = d.openInBrowser;
  CREFToHTMColor(pageBg, page->bgColor);
}

}  // namespace spinox
