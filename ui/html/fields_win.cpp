// The HTML dialog's controls as the fields of the settings file.
#include "ui/html/fields_win.h"

#include <windows.h>

#include "base/text.h"
#include "resources/resource.h"
#include "ui/html/dialog_win.h"
#include "ui/toolkit/controls_win.h"

namespace spinox {

namespace {

struct TextControl {
  int id;
  char (HtmlDialog::*field)[kPathSize];
};
const TextControl kTexts[] = {
    {IDC_HTM_PAGEIMG, &HtmlDialog::pageImgBox},    {IDC_HTM_TABLEIMG, &HtmlDialog::tableImgBox},
    {IDC_HTM_TOPIMG, &HtmlDialog::topImgBox},      {IDC_HTM_RESTIMG, &HtmlDialog::restImgBox},
    {IDC_HTM_TEMPLATE, &HtmlDialog::templateFile}, {IDC_HTM_PAGETITLE, &HtmlDialog::pageTitle},
    {IDC_HTM_TOPFONT, &HtmlDialog::topFont},       {IDC_HTM_RESTFONT, &HtmlDialog::restFont},
};

enum class Kind { kNumber, kIndex, kCheck };
struct ValueControl {
  int id;
  int32_t HtmlDialog::*field;
  Kind kind;
};
const ValueControl kValues[] = {
    {IDC_HTM_OPENBROWSER, &HtmlDialog::openInBrowser, Kind::kCheck},
    {IDC_HTM_USETEMPLATE, &HtmlDialog::useTemplate, Kind::kCheck},
    {IDC_HTM_TABLEWIDTH, &HtmlDialog::tableWidth, Kind::kNumber},
    {IDC_HTM_TABLEUNIT, &HtmlDialog::widthUnit, Kind::kIndex},
    {IDC_HTM_TABLEALIGN, &HtmlDialog::tableAlign, Kind::kIndex},
    {IDC_HTM_CELLPAD, &HtmlDialog::cellPadding, Kind::kNumber},
    {IDC_HTM_CELLSPACE, &HtmlDialog::cellSpacing, Kind::kNumber},
    {IDC_HTM_BORDER, &HtmlDialog::borderWidth, Kind::kNumber},
    {IDC_HTM_TOPBOLD, &HtmlDialog::topBold, Kind::kCheck},
    {IDC_HTM_TOPITALIC, &HtmlDialog::topItalic, Kind::kCheck},
    {IDC_HTM_RESTBOLD, &HtmlDialog::restBold, Kind::kCheck},
    {IDC_HTM_RESTITALIC, &HtmlDialog::restItalic, Kind::kCheck},
    {IDC_HTM_TOPALIGN, &HtmlDialog::topAlign, Kind::kIndex},
    {IDC_HTM_TOPSIZE, &HtmlDialog::topFontSize, Kind::kIndex},
    {IDC_HTM_RESTALIGN, &HtmlDialog::restAlign, Kind::kIndex},
    {IDC_HTM_RESTSIZE, &HtmlDialog::restFontSize, Kind::kIndex},
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

void PutHtmDialog(HWND dlg, const HtmlDialog& fields) {
  for (const TextControl& c : kTexts) SetText(dlg, c.id, FieldText(fields.*c.field).c_str());
  for (const ValueControl& c : kValues) PutValue(dlg, c, fields.*c.field);
}

void TakeHtmDialog(HWND dlg, HtmlDialog* fields) {
  for (const TextControl& c : kTexts) {
    char text[kPathSize] = {};
    GetText(dlg, c.id, text, kPathSize);
    SetField(fields->*c.field, text);
  }
  for (const ValueControl& c : kValues) fields->*c.field = TakeValue(dlg, c);
}

}  // namespace spinox
