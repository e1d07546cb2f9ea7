// The HTML dialog's controls as the fields of the settings file.
#include <windows.h>

#include "base/text.h"
#include "resources/resource.h"
#include "ui/html/dialog_win.h"
#include "ui/toolkit/controls_win.h"

namespace spinox {

namespace {

struct TextControl {
  int id;
  char (HtmlSettings::*field)[kPathSize];
};
const TextControl kTexts[] = {
    {IDC_HTM_PAGEIMG, &HtmlSettings::pageImgBox},    {IDC_HTM_TABLEIMG, &HtmlSettings::tableImgBox},
    {IDC_HTM_TOPIMG, &HtmlSettings::topImgBox},      {IDC_HTM_RESTIMG, &HtmlSettings::restImgBox},
    {IDC_HTM_TEMPLATE, &HtmlSettings::templateFile}, {IDC_HTM_PAGETITLE, &HtmlSettings::pageTitle},
    {IDC_HTM_TOPFONT, &HtmlSettings::topFont},       {IDC_HTM_RESTFONT, &HtmlSettings::restFont},
};

enum class Kind { kNumber, kIndex, kCheck };
struct ValueControl {
  int id;
  int32_t HtmlSettings::*field;
  Kind kind;
};
const ValueControl kValues[] = {
    {IDC_HTM_OPENBROWSER, &HtmlSettings::openInBrowser, Kind::kCheck},
    {IDC_HTM_USETEMPLATE, &HtmlSettings::useTemplate, Kind::kCheck},
    {IDC_HTM_TABLEWIDTH, &HtmlSettings::tableWidth, Kind::kNumber},
    {IDC_HTM_TABLEUNIT, &HtmlSettings::widthUnit, Kind::kIndex},
    {IDC_HTM_TABLEALIGN, &HtmlSettings::tableAlign, Kind::kIndex},
    {IDC_HTM_CELLPAD, &HtmlSettings::cellPadding, Kind::kNumber},
    {IDC_HTM_CELLSPACE, &HtmlSettings::cellSpacing, Kind::kNumber},
    {IDC_HTM_BORDER, &HtmlSettings::borderWidth, Kind::kNumber},
    {IDC_HTM_TOPBOLD, &HtmlSettings::topBold, Kind::kCheck},
    {IDC_HTM_TOPITALIC, &HtmlSettings::topItalic, Kind::kCheck},
    {IDC_HTM_RESTBOLD, &HtmlSettings::restBold, Kind::kCheck},
    {IDC_HTM_RESTITALIC, &HtmlSettings::restItalic, Kind::kCheck},
    {IDC_HTM_TOPALIGN, &HtmlSettings::topAlign, Kind::kIndex},
    {IDC_HTM_TOPSIZE, &HtmlSettings::topFontSize, Kind::kIndex},
    {IDC_HTM_RESTALIGN, &HtmlSettings::restAlign, Kind::kIndex},
    {IDC_HTM_RESTSIZE, &HtmlSettings::restFontSize, Kind::kIndex},
};

void PutValue(HWND dlg, const ValueControl& c, int32_t value) {
  if (c.kind == Kind::kNumber) ED_SetInt(dlg, c.id, value);
  if (c.kind == Kind::kIndex) CBO_SetCurSel(dlg, c.id, value);
  if (c.kind == Kind::kCheck && value) CHK_Check(dlg, c.id);
}

int32_t TakeValue(HWND dlg, const ValueControl& c) {
  if (c.kind == Kind::kNumber) return ED_GetInt(dlg, c.id);
  if (c.kind == Kind::kIndex) return CBO_Current(dlg, c.id);
  return CHK_IsChecked(dlg, c.id);
}

}  // namespace

void PutHtmDialog(HWND dlg, const HtmlSettings& fields) {
  for (const TextControl& c : kTexts) SetText(dlg, c.id, FieldText(fields.*c.field).c_str());
  for (const ValueControl& c : kValues) PutValue(dlg, c, fields.*c.field);
}

void TakeHtmDialog(HWND dlg, HtmlSettings* fields) {
  for (const TextControl& c : kTexts) {
    char text[kPathSize] = {};
    GetText(dlg, c.id, text, kPathSize);
    SetField(fields->*c.field, text);
  }
  for (const ValueControl& c : kValues) fields->*c.field = TakeValue(dlg, c);
}

}  // namespace spinox
