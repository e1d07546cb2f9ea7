#include "ui/html/dialog_win.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "base/text.h"
#include "db/paths.h"
#include "html/color.h"
#include "html/html_settings.h"
#include "html/html_writer.h"
#include "html/page_images.h"
#include "html/sample_template.h"
#include "html/tags.h"
#include "resources/resource.h"
#include "ui/html/colors_win.h"
#include "ui/html/fields_win.h"
#include "ui/html/list_view_win.h"
#include "ui/osd/text_win.h"
#include "ui/shell_state_win.h"
#include "ui/toolkit/controls_win.h"

namespace spinox {

namespace {

// Filters: pairs of description and pattern, the list ended by a second NUL.
const char kHtmlFilter[] = "Html Files\0*.htm;*.html\0All Files\0*.*\0";
const char kImageFilter[] = "Image Files\0*.gif;*.jpg;*.jpeg;*.png\0All Files\0*.*\0";
const char kTemplateFilter[] = "Html Files\0*.htm;*html\0All Files\0*.*\0";

struct ColorControls {
  uint32_t HtmlSettings::*color;  // none for the page colour
  int edit;
  int swatch;
  int pick;
  bool saved;  // the page colour is not: it is none at every start
};
const ColorControls kColors[] = {
    {nullptr, IDC_HTM_PAGEBG, IDC_HTM_PAGEBGSWATCH, IDC_HTM_PAGEBGPICK, false},
    {&HtmlSettings::_htm_table_bg, IDC_HTM_TABLEBG, IDC_HTM_TABLEBGSWATCH, IDC_HTM_TABLEBGPICK,
     true},
    {&HtmlSettings::_htm_table_brd, IDC_HTM_TABLEBRD, IDC_HTM_TABLEBRDSWATCH, IDC_HTM_TABLEBRDPICK,
     true},
    {&HtmlSettings::_htm_top_fg, IDC_HTM_TOPFG, IDC_HTM_TOPFGSWATCH, IDC_HTM_TOPFGPICK, true},
    {&HtmlSettings::_htm_top_bg, IDC_HTM_TOPBG, IDC_HTM_TOPBGSWATCH, IDC_HTM_TOPBGPICK, true},
    {&HtmlSettings::_htm_rest_fg, IDC_HTM_RESTFG, IDC_HTM_RESTFGSWATCH, IDC_HTM_RESTFGPICK, true},
    {&HtmlSettings::_htm_rest_bg, IDC_HTM_RESTBG, IDC_HTM_RESTBGSWATCH, IDC_HTM_RESTBGPICK, true},
};

// The colour a row of controls edits: a saved one of the shell's settings, or the page's.
uint32_t& Color(const ColorControls& c) {
  return c.color ? Shell().settings.html.*c.color : Shell().htm._htm_page_bg;
}

struct ImageControls {
  char (HtmlSettings::*path)[kPathSize];  // the chosen image's full path
  int box;                                // read-only edit showing the file name
  int pick;
};
const ImageControls kImages[] = {
    {&HtmlSettings::_htm_table_img, IDC_HTM_TABLEIMG, IDC_HTM_TABLEIMGPICK},
    {&HtmlSettings::_htm_top_img, IDC_HTM_TOPIMG, IDC_HTM_TOPIMGPICK},
    {&HtmlSettings::_htm_rest_img, IDC_HTM_RESTIMG, IDC_HTM_RESTIMGPICK},
    {&HtmlSettings::_htm_page_img, IDC_HTM_PAGEIMG, IDC_HTM_PAGEIMGPICK},
};

const char* const kFixedFonts[] = {"Default Font",
                                   "Arial, Helvetica, sans-serif",
                                   "Times New Roman, Times, serif",
                                   "Courier New, Courier, mono",
                                   "Georgia, Times New Roman, Times, serif",
                                   "Verdana, Arial, Helvetica, sans-serif",
                                   "Geneva, Arial, Helvetica, sans-serif"};
const char* const kAligns[] = {"Default", "Left", "Center", "Right"};
constexpr int kFontSizeCount = 22;

template <size_t N>
void FillList(HWND dlg, int id, const char* const (&entries)[N]) {
  for (const char* entry : entries) CBO_InsertItem(dlg, id, entry);
}

// The installed fonts, gathered sorted in the hidden list, follow the fixed entries.
void AppendInstalledFonts(HWND dlg) {
  FillComboWithFonts(dlg, IDC_HTM_FONTSOURCE);
  int count = CBO_Count(dlg, IDC_HTM_FONTSOURCE);
  for (int i = 0; i < count; ++i) {
    char face[LF_FACESIZE + 1] = {};
    if (CBO_GetString(dlg, IDC_HTM_FONTSOURCE, i, face, sizeof face) < 0) continue;
    CBO_InsertItem(dlg, IDC_HTM_RESTFONT, face);
    CBO_InsertItem(dlg, IDC_HTM_TOPFONT, face);
  }
}

void SetHint(HWND dlg) {
  char hint[100];
  std::snprintf(hint, sizeof hint, "%s %s\n%s", "Tags:", "%sdate, %edate, %type, %filter",
                "%size, %table, %date, %time,");
  SetText(dlg, IDC_HTM_HINT, hint);
}

// Template mode takes the title and the page background from the template.
void TemplateRule(HWND dlg) {
  int on = CHK_IsChecked(dlg, IDC_HTM_USETEMPLATE);
  Enable(dlg, IDC_HTM_TEMPLATE, on);
  Enable(dlg, IDC_HTM_TEMPLATEPICK, on);
  for (int id : {IDC_HTM_PAGETITLE, IDC_HTM_PAGEIMGPICK, IDC_HTM_PAGEBGPICK, IDC_HTM_PAGEBG})
    Enable(dlg, id, !on);
  Enable(dlg, IDC_HTM_PAGEBGSWATCH, !on && Shell().htm._htm_page_bg != kNoColor);
}

const ColorControls* ColorOf(int control, int ColorControls::*which) {
  for (const ColorControls& c : kColors)
    if (c.*which == control) return &c;
  return nullptr;
}

void PickImage(HWND dlg, const ImageControls& image) {
  std::string path, name;
  if (!GetOpenFile(dlg, &path, &name, "Select Image", kImageFilter, nullptr, nullptr)) return;
  CopyText(Shell().settings.html.*image.path, kPathSize, path.c_str());
  SetText(dlg, image.box, name.c_str());
}

void PickTemplate(HWND dlg) {
  std::string path;
  if (GetOpenFile(dlg, &path, nullptr, "Select Template File", kTemplateFilter, nullptr, nullptr))
    SetText(dlg, IDC_HTM_TEMPLATE, path.c_str());
}

// The sample template is the default: it is put in the data folder when first used.
void InstallSampleWhenChosen(const HtmPageProps& page) {
  std::string sample = FullPath(kSampleTemplateName);
  if (page.useTemplate && _stricmp(page.templatePath, sample.c_str()) == 0)
    InstallSampleTemplate(sample);
}

void WritePage(HWND dlg, const char* path) {
  const Settings& settings = Shell().settings;
  HtmlSettings html = settings.html;
  TakeHtmDialog(dlg, &html._htmDialog);
  HtmTagValues tags = {};
  GetTags(Shell().list, &tags, TimeFormatsOf(settings));
  HtmTableProps table;
  HtmRowProps top, rest;
  HtmPageProps page;
  FillTableStruct(html, Shell().htm._htm_page_bg, &table, &top, &rest, &page);
  InstallSampleWhenChosen(page);
  ListViewOnShow list(Shell()._hwndHit, IDC_LIST);
  std::string error;
  if (!WriteHtm(table, top, rest, page, tags, path, list, Shell().hitList._clmns, &error)) {
    ShowMessage(dlg, error, "Error Writing File", MB_OK | MB_ICONERROR);
    return;
  }
  // The images go beside the page under the names their boxes show (the name part only).
  CopyPageImages({path, table, top, rest, page}, html);
  if (CHK_IsChecked(dlg, IDC_HTM_OPENBROWSER)) OpenInShell(dlg, path);
}

// A colour typed into the edit that still has the focus (Enter pressed without leaving it)
// counts as if the edit had been left.
void CommitFocusedColor(HWND dlg) {
  HWND focus = GetFocus();
  if (!focus || GetParent(focus) != dlg) return;
  const ColorControls* c = ColorOf(GetDlgCtrlID(focus), &ColorControls::edit);
  if (c) UpdateColorEdit(dlg, Color(*c), c->edit, c->swatch);
}

void Generate(HWND dlg) {
  CommitFocusedColor(dlg);
  std::string path;
  if (GetSaveFile(dlg, &path, "Save as html", kHtmlFilter, "htm")) WritePage(dlg, path.c_str());
  ShowWindow(dlg, SW_HIDE);
}

bool OnButton(HWND dlg, int id) {
  if (const ColorControls* c = ColorOf(id, &ColorControls::pick)) {
    PickColor(dlg, Color(*c), c->edit, c->swatch);
    return true;
  }
  for (const ImageControls& image : kImages) {
    if (image.pick != id) continue;
    PickImage(dlg, image);
    return true;
  }
  if (id == IDC_HTM_TEMPLATEPICK) PickTemplate(dlg);
  if (id == IDC_HTM_USETEMPLATE) TemplateRule(dlg);
  if (id == IDOK) Generate(dlg);
  if (id == IDCANCEL) ShowWindow(dlg, SW_HIDE);
  return id == IDC_HTM_TEMPLATEPICK || id == IDC_HTM_USETEMPLATE || id == IDOK || id == IDCANCEL;
}

INT_PTR OnCommand(HWND dlg, WPARAM wParam) {
  int id = LOWORD(wParam), code = HIWORD(wParam);
  if (code == EN_KILLFOCUS) {
    const ColorControls* c = ColorOf(id, &ColorControls::edit);
    if (c) UpdateColorEdit(dlg, Color(*c), c->edit, c->swatch);
    return c != nullptr;
  }
  return code == BN_CLICKED && OnButton(dlg, id);
}

// Read-only and disabled edits ask with WM_CTLCOLORSTATIC, the others with WM_CTLCOLOREDIT.
INT_PTR OnControlColor(WPARAM wParam, LPARAM lParam) {
  const ColorControls* c =
      ColorOf(GetDlgCtrlID(reinterpret_cast<HWND>(lParam)), &ColorControls::swatch);
  if (!c) return FALSE;
  return PaintSwatch(reinterpret_cast<HDC>(wParam), Color(*c), &Shell().htm.gSwatchBrush);
}

}  // namespace

INT_PTR CALLBACK DlgProcHTM(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      return OnCommand(dlg, wParam);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return OnControlColor(wParam, lParam);
    case WM_DESTROY:
      Shell().htm.gSwatchBrush.Reset();
      return FALSE;
  }
  return FALSE;
}

void InitHTM() {
  HWND dlg = Shell()._hwndHTM;
  if (!dlg) return;
  CBO_InsertItem(dlg, IDC_HTM_TABLEUNIT, "%");
  CBO_InsertItem(dlg, IDC_HTM_TABLEUNIT, "pixels");
  for (int id : {IDC_HTM_TABLEALIGN, IDC_HTM_TOPALIGN, IDC_HTM_RESTALIGN})
    FillList(dlg, id, kAligns);
  for (int id : {IDC_HTM_TOPFONT, IDC_HTM_RESTFONT}) FillList(dlg, id, kFixedFonts);
  for (int id : {IDC_HTM_TOPSIZE, IDC_HTM_RESTSIZE}) {
    for (int i = 0; i < kFontSizeCount; ++i) CBO_InsertItem(dlg, id, FontSizeText(i));
  }
  AppendInstalledFonts(dlg);
  SetHint(dlg);
}

void PrepareColors() {
  HWND dlg = Shell()._hwndHTM;
  if (!dlg) return;
  for (const ColorControls& c : kColors) {
    if (c.saved) SetColorText(dlg, c.edit, Color(c));
    Enable(dlg, c.swatch, Color(c) != kNoColor);
  }
  TemplateRule(dlg);
}

}  // namespace spinox
