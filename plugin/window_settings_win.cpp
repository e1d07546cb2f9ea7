// The settings that live in windows: the frames' places and the HTML dialog's controls. The
// settings file is read into globals; these move them into the windows and back.
#include <windows.h>

#include "base/text.h"
#include "db/settings.h"
#include "plugin/shell_win.h"
#include "resources/resource.h"
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

// A stored check of 0 leaves the box as the dialog's set-up left it.
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

void PutHtmlDialog(HWND dlg, const HtmlSettings& s) {
  for (const TextControl& c : kTexts) SetText(dlg, c.id, FieldText(s.*c.field).c_str());
  for (const ValueControl& c : kValues) PutValue(dlg, c, s.*c.field);
}

void TakeHtmlDialog(HWND dlg, HtmlSettings* s) {
  for (const TextControl& c : kTexts) {
    char text[kPathSize] = {};
    GetText(dlg, c.id, text, kPathSize);
    SetField(s->*c.field, text);
  }
  for (const ValueControl& c : kValues) s->*c.field = TakeValue(dlg, c);
}

void MoveFrame(HWND frame, const WindowRect& r) {
  if (!frame) return;
  SetWindowPos(frame, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window takes its frame's whole inside, whatever size its template gave it.
void FillFrame(HWND window) {
  HWND frame = window ? GetParent(window) : nullptr;
  RECT inside = {};
  if (!frame || !GetClientRect(frame, &inside)) return;
  SetWindowPos(window, nullptr, 0, 0, inside.right, inside.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowRect FromRect(const RECT& r) {
  return WindowRect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

// The rectangles are the frames' places (the player keeps the records current as the frames
// move), so the frames are moved; each window fills its own frame.
void PutWindowSettings() {
  MoveFrame(wa3, _rectHit);
  MoveFrame(wa2, _rectTool);
  FillFrame(_hwndHit);
  FillFrame(_hwndTool);
  if (_hwndHTM) PutHtmlDialog(_hwndHTM, _htmDialog);
}

void TakeWindowSettings() {
  if (wa_wnd3) _rectHit = FromRect(wa_wnd3->r);
  if (wa_wnd) _rectTool = FromRect(wa_wnd->r);
  if (_hwndHTM) TakeHtmlDialog(_hwndHTM, &_htmDialog);
}

}  // namespace spinox
