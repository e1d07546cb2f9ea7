#include "settings/settings.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "base/clock.h"
#include "base/file.h"
#include "base/replace_file.h"
#include "base/text.h"
#include "db/oldformat.h"
#include "db/paths.h"
#include "hitlist/hitlist.h"

namespace spinox {

WindowRect _rectHit = {100, 100, 500, 400};
WindowRect _rectTool = {505, 100, 900, 350};
int32_t _enabled = 1;
int32_t _skip = 0;
int32_t _addTime = 0;
int32_t _backup = 0;
int32_t _backupTime = 0;
int32_t _backupLast = 0;
int32_t _highlight = 0;
uint32_t _htm_table_bg = kNoColor;
uint32_t _htm_table_brd = kNoColor;
uint32_t _htm_top_bg = kNoColor;
uint32_t _htm_top_fg = kNoColor;
uint32_t _htm_rest_bg = kNoColor;
uint32_t _htm_rest_fg = kNoColor;
char _htm_filename[kPathSize] = {};
char _htm_table_img[kPathSize] = {};
char _htm_page_img[kPathSize] = {};
char _htm_top_img[kPathSize] = {};
char _htm_rest_img[kPathSize] = {};
HtmlSettings _htmDialog = {};
int32_t _txt = 0;
char _txt_text[kOsdTextSize] = {};
int32_t _txt_timeEnd = 0;
int32_t _txt_size = 0;
uint32_t _txt_bg = 0;
char _txt_font[kOsdFontSize] = {};
int32_t _txt_bold = 0;
int32_t _txt_x = 0;
int32_t _txt_y = 0;
char _date[kDateFormatSize] = {};
char _time[kDateFormatSize] = {};

namespace {

constexpr char kMagic[4] = {'S', 'P', 'X', '\0'};

// Copies a fixed text field between a record and a global of the same width, always leaving
// the destination NUL-terminated.
template <size_t N>
void CopyField(char (&dst)[N], const char (&src)[N]) {
  CopyText(dst, N, FieldText(src).c_str());
}

void DefaultHtml(HtmlSettings* h) {
  // Fields the dialog's own set-up decides (image boxes, fonts, bold, italic, alignments, sizes)
  // take the values that set-up leaves: empty boxes, the first entries, unchecked.
  *h = HtmlSettings{};
  h->openInBrowser = 1;
  h->useTemplate = 1;
  SetField(h->templateFile, FullPath("spinoxsampletemplate.htm"));
  SetField(h->pageTitle, "Top %size %type ( %sdate - %edate )");
  h->tableWidth = 90;
  h->cellPadding = 3;
  h->cellSpacing = 3;
  SetField(h->topFont, "Default Font");
  SetField(h->restFont, "Default Font");
}

void SetHitlistDefaults(SettingsRecord* r) {
  r->list._type = kListSongs;
  r->list._period = kPeriodDay;
  r->list._check = 0;
  r->list._start = r->list._end = ClockNow();
  r->list._size = 100;
  r->list._pos = 0;
  r->list._change = 0;
}

void SetOsdDefaults(SettingsRecord* r) {
  r->txt = 0;
  SetField(r->txtText, "%title (%hits)\n%artist (%hitsartist)\n%album (%hitsalbum)");
  r->txtTimeEnd = 10;
  r->txtSize = 50;
  r->txtBg = 0x00323232;
  SetField(r->txtFont, "Arial");
  r->txtBold = 1;
  r->txtX = 50;
  r->txtY = 100;
  SetField(r->date, "%d/%m/%y");
  SetField(r->time, "%H:%M:%S");
}

#define SPX_FIELD(name, member, kind) \
  { name, offsetof(SettingsRecord, member), sizeof(SettingsRecord::member), kind }
#define SPX_HTML(name, member, kind)                                                         \
  {                                                                                          \
    name, static_cast<int>(offsetof(SettingsRecord, html) + offsetof(HtmlSettings, member)), \
        sizeof(HtmlSettings::member), kind                                                   \
  }

#define SPX_LIST(name, member, kind)                                                            \
  {                                                                                             \
    name, static_cast<int>(offsetof(SettingsRecord, list) + offsetof(HitListSettings, member)), \
        sizeof(HitListSettings::member), kind                                                   \
  }

using K = SettingsFieldKind;

}  // namespace

const std::vector<SettingsField>& SettingsFields() {
  static const std::vector<SettingsField> fields = {
      SPX_FIELD("magic", magic, K::kMagic),
      SPX_FIELD("version", version, K::kInt),
      SPX_FIELD("hitlist_window", hitRect, K::kRect),
      SPX_FIELD("options_panel", toolRect, K::kRect),
      SPX_LIST("_type", _type, K::kInt),
      SPX_LIST("_period", _period, K::kInt),
      SPX_LIST("_check", _check, K::kInt),
      SPX_LIST("_start", _start, K::kTime),
      SPX_LIST("_end", _end, K::kTime),
      SPX_LIST("_size", _size, K::kInt),
      SPX_LIST("_pos", _pos, K::kInt),
      SPX_LIST("_change", _change, K::kInt),
      SPX_FIELD("_htm_table_bg", htmTableBg, K::kColor),
      SPX_FIELD("_htm_table_brd", htmTableBrd, K::kColor),
      SPX_FIELD("_htm_top_bg", htmTopBg, K::kColor),
      SPX_FIELD("_htm_top_fg", htmTopFg, K::kColor),
      SPX_FIELD("_htm_rest_bg", htmRestBg, K::kColor),
      SPX_FIELD("_htm_rest_fg", htmRestFg, K::kColor),
      SPX_FIELD("_htm_filename", htmFilename, K::kText),
      SPX_FIELD("_htm_table_img", htmTableImg, K::kText),
      SPX_FIELD("_htm_page_img", htmPageImg, K::kText),
      SPX_FIELD("_htm_top_img", htmTopImg, K::kText),
      SPX_FIELD("_htm_rest_img", htmRestImg, K::kText),
      SPX_HTML("page_image_box", pageImgBox, K::kText),
      SPX_HTML("table_image_box", tableImgBox, K::kText),
      SPX_HTML("top_image_box", topImgBox, K::kText),
      SPX_HTML("rest_image_box", restImgBox, K::kText),
      SPX_HTML("open_in_browser", openInBrowser, K::kInt),
      SPX_HTML("use_template", useTemplate, K::kInt),
      SPX_HTML("template_file", templateFile, K::kText),
      SPX_HTML("page_title", pageTitle, K::kText),
      SPX_HTML("table_width", tableWidth, K::kInt),
      SPX_HTML("width_unit", widthUnit, K::kInt),
      SPX_HTML("table_align", tableAlign, K::kInt),
      SPX_HTML("cell_padding", cellPadding, K::kInt),
      SPX_HTML("cell_spacing", cellSpacing, K::kInt),
      SPX_HTML("border_width", borderWidth, K::kInt),
      SPX_HTML("top_font", topFont, K::kText),
      SPX_HTML("rest_font", restFont, K::kText),
      SPX_HTML("top_bold", topBold, K::kInt),
      SPX_HTML("top_italic", topItalic, K::kInt),
      SPX_HTML("rest_bold", restBold, K::kInt),
      SPX_HTML("rest_italic", restItalic, K::kInt),
      SPX_HTML("top_align", topAlign, K::kInt),
      SPX_HTML("top_font_size", topFontSize, K::kInt),
      SPX_HTML("rest_align", restAlign, K::kInt),
      SPX_HTML("rest_font_size", restFontSize, K::kInt),
      SPX_FIELD("_enabled", enabled, K::kInt),
      SPX_FIELD("_skip", skip, K::kInt),
      SPX_FIELD("_addTime", addTime, K::kInt),
      SPX_FIELD("_backup", backup, K::kInt),
      SPX_FIELD("_backupTime", backupTime, K::kInt),
      SPX_FIELD("_backupLast", backupLast, K::kTime),
      SPX_FIELD("_txt", txt, K::kInt),
      SPX_FIELD("_txt_text", txtText, K::kText),
      SPX_FIELD("_txt_timeEnd", txtTimeEnd, K::kInt),
      SPX_FIELD("_txt_size", txtSize, K::kInt),
      SPX_FIELD("_txt_bg", txtBg, K::kColor),
      SPX_FIELD("_txt_font", txtFont, K::kText),
      SPX_FIELD("_txt_bold", txtBold, K::kInt),
      SPX_FIELD("_txt_x", txtX, K::kInt),
      SPX_FIELD("_txt_y", txtY, K::kInt),
      SPX_FIELD("_date", date, K::kText),
      SPX_FIELD("_time", time, K::kText),
      SPX_FIELD("_highlight", highlight, K::kInt),
  };
  return fields;
}

#undef SPX_FIELD
#undef SPX_HTML
#undef SPX_LIST

SettingsRecord DefaultSettings() {
  SettingsRecord r = {};
  std::memcpy(r.magic, kMagic, sizeof kMagic);
  r.version = kSettingsVersion;
  r.hitRect = {100, 100, 500, 400};
  r.toolRect = {505, 100, 900, 350};
  SetHitlistDefaults(&r);
  r.htmTableBg = kNoColor;
  r.htmTableBrd = kNoColor;
  r.htmTopBg = 0x00A00000;   // "#0000a0"
  r.htmTopFg = 0x00FFFFFF;   // "#ffffff"
  r.htmRestBg = 0x00FF6600;  // "#0066ff"
  r.htmRestFg = kNoColor;
  DefaultHtml(&r.html);
  r.enabled = 1;
  r.skip = 1;
  r.addTime = 60;
  r.backup = 0;
  r.backupTime = 30;
  r.backupLast = 0;
  SetOsdDefaults(&r);
  r.highlight = 0;
  return r;
}

SettingsRecord CurrentSettings() {
  SettingsRecord r = {};
  std::memcpy(r.magic, kMagic, sizeof kMagic);
  r.version = kSettingsVersion;
  r.hitRect = _rectHit, r.toolRect = _rectTool;
  r.list._type = _type, r.list._period = _period, r.list._check = _check, r.list._start = _start,
  r.list._end = _end;
  r.list._size = _size, r.list._pos = _pos, r.list._change = _change;
  r.htmTableBg = _htm_table_bg, r.htmTableBrd = _htm_table_brd, r.htmTopBg = _htm_top_bg;
  r.htmTopFg = _htm_top_fg, r.htmRestBg = _htm_rest_bg, r.htmRestFg = _htm_rest_fg;
  CopyField(r.htmFilename, _htm_filename);
  CopyField(r.htmTableImg, _htm_table_img);
  CopyField(r.htmPageImg, _htm_page_img);
  CopyField(r.htmTopImg, _htm_top_img);
  CopyField(r.htmRestImg, _htm_rest_img);
  r.html = _htmDialog;
  r.enabled = _enabled, r.skip = _skip, r.addTime = _addTime, r.backup = _backup;
  r.backupTime = _backupTime, r.backupLast = _backupLast;
  r.txt = _txt;
  CopyField(r.txtText, _txt_text);
  r.txtTimeEnd = _txt_timeEnd, r.txtSize = _txt_size, r.txtBg = _txt_bg;
  CopyField(r.txtFont, _txt_font);
  r.txtBold = _txt_bold, r.txtX = _txt_x, r.txtY = _txt_y;
  CopyField(r.date, _date);
  CopyField(r.time, _time);
  r.highlight = _highlight;
  return r;
}

void ApplySettings(const SettingsRecord& r) {
  _rectHit = r.hitRect, _rectTool = r.toolRect;
  _type = r.list._type, _period = r.list._period, _check = r.list._check, _start = r.list._start,
  _end = r.list._end;
  _size = r.list._size, _pos = r.list._pos, _change = r.list._change;
  _htm_table_bg = r.htmTableBg, _htm_table_brd = r.htmTableBrd, _htm_top_bg = r.htmTopBg;
  _htm_top_fg = r.htmTopFg, _htm_rest_bg = r.htmRestBg, _htm_rest_fg = r.htmRestFg;
  CopyField(_htm_filename, r.htmFilename);
  CopyField(_htm_table_img, r.htmTableImg);
  CopyField(_htm_page_img, r.htmPageImg);
  CopyField(_htm_top_img, r.htmTopImg);
  CopyField(_htm_rest_img, r.htmRestImg);
  _htmDialog = r.html;
  _skip = r.skip, _addTime = r.addTime, _backup = r.backup;
  _backupTime = r.backupTime, _backupLast = r.backupLast;
  _txt = r.txt;
  CopyField(_txt_text, r.txtText);
  _txt_timeEnd = r.txtTimeEnd, _txt_size = r.txtSize, _txt_bg = r.txtBg;
  CopyField(_txt_font, r.txtFont);
  _txt_bold = r.txtBold, _txt_x = r.txtX, _txt_y = r.txtY;
  CopyField(_date, r.date);
  CopyField(_time, r.time);
  _highlight = r.highlight;
}

bool ParseSettings(const unsigned char* data, size_t size, SettingsRecord* out) {
  if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) return false;
  SettingsRecord r = DefaultSettings();
  unsigned char* bytes = reinterpret_cast<unsigned char*>(&r);
  for (const SettingsField& f : SettingsFields()) {
    size_t end = static_cast<size_t>(f.offset) + static_cast<size_t>(f.width);
    if (end > size) break;  // fields are in file order: the rest keep their defaults
    std::memcpy(bytes + f.offset, data + f.offset, f.width);
    if (f.kind == SettingsFieldKind::kText) bytes[end - 1] = 0;
  }
  *out = r;
  return true;
}

bool ReadSettingsFile(const std::string& path, SettingsRecord* out) {
  std::vector<unsigned char> bytes;
  if (!ReadFileRange(path, 0, kSettingsSize, &bytes)) return false;
  return ParseSettings(bytes.data(), bytes.size(), out);
}

bool WriteSettingsFile(const std::string& path, const SettingsRecord& rec) {
  return WriteFileReplacing(path, &rec, sizeof rec);
}

void SetDefaults() {
  int32_t highlight = _highlight;
  ApplySettings(DefaultSettings());
  _highlight = highlight;
}

DatFileLoad LoadDatFile() {
  DatFileLoad result;
  std::string path = FullPath(kSettingsFile);
  std::vector<unsigned char> bytes;
  if (!ReadFileRange(path, 0, kSettingsSize, &bytes)) {
    SetDefaults();
    return result;
  }
  SettingsRecord rec;
  if (!ParseSettings(bytes.data(), bytes.size(), &rec)) {
    OldFormatResult old = BreakDownOldVersionDatFile();
    // The settings are written over gen_spinox.dat at shutdown, so an old database that could
    // not be converted now is kept under another name rather than lost.
    if (old == OldFormatResult::kFailed && RenameOver(path, SetAsideName(path)))
      old = OldFormatResult::kSetAside;
    result.converted = old == OldFormatResult::kConverted;
    result.setAside = old == OldFormatResult::kSetAside;
    SetDefaults();
    return result;
  }
  ApplySettings(rec);
  result.fromFile = true;
  result.enabled = rec.enabled;
  return result;
}

bool WriteDataFile() {
  return WriteSettingsFile(FullPath(kSettingsFile), CurrentSettings());
}

namespace {

int32_t Span(int32_t from, int32_t to) {
  int64_t span = int64_t{to} - from;
  return static_cast<int32_t>(std::clamp<int64_t>(span, INT32_MIN, INT32_MAX));
}

}  // namespace

int32_t RectWidth(const WindowRect& r) {
  return Span(r.left, r.right);
}

int32_t RectHeight(const WindowRect& r) {
  return Span(r.top, r.bottom);
}

int GetRects(WindowRect* hit, WindowRect* tool) {
  std::vector<unsigned char> bytes;
  constexpr size_t kRectsEnd = offsetof(SettingsRecord, list);
  if (!ReadFileRange(FullPath(kSettingsFile), 0, kRectsEnd, &bytes)) return 0;
  if (bytes.size() < kRectsEnd || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return 0;
  std::memcpy(hit, bytes.data() + offsetof(SettingsRecord, hitRect), sizeof *hit);
  std::memcpy(tool, bytes.data() + offsetof(SettingsRecord, toolRect), sizeof *tool);
  return 1;
}

}  // namespace spinox
