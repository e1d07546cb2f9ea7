#include "settings/settings.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "base/clock.h"
#include "base/codepage.h"
#include "base/file.h"
#include "base/replace_file.h"
#include "base/text.h"
#include "db/convert_text.h"
#include "db/oldformat.h"
#include "db/paths.h"
#include "db/text_encoding.h"
#include "hitlist/hitlist.h"

namespace spinox {

namespace {

constexpr char kMagic[4] = {'S', 'P', 'X', '\0'};

// A text field as its text and NULs after it.
template <size_t N>
void ClearAfterText(char (&field)[N]) {
  std::string text = FieldText(field);
  CopyText(field, N, text.c_str());
}

void DefaultHtmlDialog(HtmlDialog* h) {
  // Fields the dialog's own set-up decides (image boxes, fonts, bold, italic, alignments, sizes)
  // take the values that set-up leaves: empty boxes, the first entries, unchecked.
  *h = HtmlDialog{};
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

void SetHitlistDefaults(Settings* r) {
  r->list._type = kListSongs;
  r->list._period = kPeriodDay;
  r->list._check = 0;
  r->list._start = r->list._end = ClockNow();
  r->list._size = 100;
  r->list._pos = 0;
  r->list._change = 0;
}

void SetHtmlDefaults(HtmlSettings* h) {
  *h = HtmlSettings{};
  h->_htm_table_bg = kNoColor;
  h->_htm_table_brd = kNoColor;
  h->_htm_top_bg = 0x00A00000;   // "#0000a0"
  h->_htm_top_fg = 0x00FFFFFF;   // "#ffffff"
  h->_htm_rest_bg = 0x00FF6600;  // "#0066ff"
  h->_htm_rest_fg = kNoColor;
  DefaultHtmlDialog(&h->_htmDialog);
}

void SetOsdDefaults(Settings* r) {
  r->_txt = 0;
  SetField(r->_txt_text, "%title (%hits)\n%artist (%hitsartist)\n%album (%hitsalbum)");
  r->_txt_timeEnd = 10;
  r->_txt_size = 50;
  r->_txt_bg = 0x00323232;
  SetField(r->_txt_font, "Arial");
  r->_txt_bold = 1;
  r->_txt_x = 50;
  r->_txt_y = 100;
  SetField(r->_date, "%d/%m/%y");
  SetField(r->_time, "%H:%M:%S");
}

#define SPX_FIELD(name, member, kind) \
  { name, offsetof(Settings, member), sizeof(Settings::member), kind }
#define SPX_HTM(name, member, kind)                                                    \
  {                                                                                    \
    name, static_cast<int>(offsetof(Settings, html) + offsetof(HtmlSettings, member)), \
        sizeof(HtmlSettings::member), kind                                             \
  }
#define SPX_HTML(name, member, kind)                                                     \
  {                                                                                      \
    name,                                                                                \
        static_cast<int>(offsetof(Settings, html) + offsetof(HtmlSettings, _htmDialog) + \
                         offsetof(HtmlDialog, member)),                                  \
        sizeof(HtmlDialog::member), kind                                                 \
  }

#define SPX_LIST(name, member, kind)                                                      \
  {                                                                                       \
    name, static_cast<int>(offsetof(Settings, list) + offsetof(HitListSettings, member)), \
        sizeof(HitListSettings::member), kind                                             \
  }

using K = SettingsFieldKind;

}  // namespace

const std::vector<SettingsField>& SettingsFields() {
  static const std::vector<SettingsField> fields = {
      SPX_FIELD("magic", magic, K::kMagic),
      SPX_FIELD("version", version, K::kInt),
      SPX_FIELD("hitlist_window", _rectHit, K::kRect),
      SPX_FIELD("options_panel", _rectTool, K::kRect),
      SPX_LIST("_type", _type, K::kInt),
      SPX_LIST("_period", _period, K::kInt),
      SPX_LIST("_check", _check, K::kInt),
      SPX_LIST("_start", _start, K::kTime),
      SPX_LIST("_end", _end, K::kTime),
      SPX_LIST("_size", _size, K::kInt),
      SPX_LIST("_pos", _pos, K::kInt),
      SPX_LIST("_change", _change, K::kInt),
      SPX_HTM("_htm_table_bg", _htm_table_bg, K::kColor),
      SPX_HTM("_htm_table_brd", _htm_table_brd, K::kColor),
      SPX_HTM("_htm_top_bg", _htm_top_bg, K::kColor),
      SPX_HTM("_htm_top_fg", _htm_top_fg, K::kColor),
      SPX_HTM("_htm_rest_bg", _htm_rest_bg, K::kColor),
      SPX_HTM("_htm_rest_fg", _htm_rest_fg, K::kColor),
      SPX_HTM("_htm_filename", _htm_filename, K::kText),
      SPX_HTM("_htm_table_img", _htm_table_img, K::kText),
      SPX_HTM("_htm_page_img", _htm_page_img, K::kText),
      SPX_HTM("_htm_top_img", _htm_top_img, K::kText),
      SPX_HTM("_htm_rest_img", _htm_rest_img, K::kText),
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
      SPX_FIELD("_enabled", _enabled, K::kInt),
      SPX_FIELD("_skip", _skip, K::kInt),
      SPX_FIELD("_addTime", _addTime, K::kInt),
      SPX_FIELD("_backup", _backup, K::kInt),
      SPX_FIELD("_backupTime", _backupTime, K::kInt),
      SPX_FIELD("_backupLast", _backupLast, K::kTime),
      SPX_FIELD("_txt", _txt, K::kInt),
      SPX_FIELD("_txt_text", _txt_text, K::kText),
      SPX_FIELD("_txt_timeEnd", _txt_timeEnd, K::kInt),
      SPX_FIELD("_txt_size", _txt_size, K::kInt),
      SPX_FIELD("_txt_bg", _txt_bg, K::kColor),
      SPX_FIELD("_txt_font", _txt_font, K::kText),
      SPX_FIELD("_txt_bold", _txt_bold, K::kInt),
      SPX_FIELD("_txt_x", _txt_x, K::kInt),
      SPX_FIELD("_txt_y", _txt_y, K::kInt),
      SPX_FIELD("_date", _date, K::kText),
      SPX_FIELD("_time", _time, K::kText),
      SPX_FIELD("_highlight", _highlight, K::kInt),
  };
  return fields;
}

#undef SPX_FIELD
#undef SPX_HTM
#undef SPX_HTML
#undef SPX_LIST

TimeFormats TimeFormatsOf(const Settings& s) {
  return TimeFormats{FieldText(s._date), FieldText(s._time)};
}

Settings DefaultSettings() {
  Settings r = {};
  std::memcpy(r.magic, kMagic, sizeof kMagic);
  r.version = kSettingsVersion;
  r._rectHit = kDefaultHitRect;
  r._rectTool = kDefaultToolRect;
  SetHitlistDefaults(&r);
  SetHtmlDefaults(&r.html);
  r._enabled = 1;
  r._skip = 1;
  r._addTime = 60;
  r._backup = 0;
  r._backupTime = 30;
  r._backupLast = 0;
  SetOsdDefaults(&r);
  r._highlight = 0;
  return r;
}

bool ParseSettings(const unsigned char* data, size_t size, Settings* out) {
  if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) return false;
  Settings r = DefaultSettings();
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

bool ReadSettingsFile(const std::string& path, Settings* out) {
  std::vector<unsigned char> bytes;
  if (!ReadFileRange(path, 0, kSettingsSize, &bytes)) return false;
  return ParseSettings(bytes.data(), bytes.size(), out);
}

bool WriteSettingsFile(const std::string& path, const Settings& rec) {
  return WriteFileReplacing(path, &rec, sizeof rec);
}

void SetDefaults(Settings* s) {
  int32_t enabled = s->_enabled;
  int32_t highlight = s->_highlight;
  *s = DefaultSettings();
  s->_enabled = enabled;
  s->_highlight = highlight;
}

void RecodeSettingsTexts(Settings* s, std::string (*recode)(const std::string&)) {
  char* bytes = reinterpret_cast<char*>(s);
  for (const SettingsField& f : SettingsFields()) {
    if (f.kind != SettingsFieldKind::kText) continue;
    std::string text = recode(FieldText(bytes + f.offset, static_cast<size_t>(f.width)));
    CopyText(bytes + f.offset, static_cast<size_t>(f.width), text.c_str());
  }
}

DatFileLoad LoadDatFile(Settings* s) {
  DatFileLoad result;
  std::string path = FullPath(kSettingsFile);
  std::vector<unsigned char> bytes;
  if (!ReadFileRange(path, 0, kSettingsSize, &bytes)) {
    SetDefaults(s);
    return result;
  }
  Settings rec;
  if (!ParseSettings(bytes.data(), bytes.size(), &rec)) {
    OldFormatResult old = BreakDownOldVersionDatFile();
    // The settings are written over gen_spinox.dat at shutdown, so an old database that could
    // not be converted now is kept under another name rather than lost.
    if (old == OldFormatResult::kFailed && RenameOver(path, SetAsideName(path)))
      old = OldFormatResult::kSetAside;
    result.converted = old == OldFormatResult::kConverted;
    result.setAside = old == OldFormatResult::kSetAside;
    SetDefaults(s);
    return result;
  }
  // An earlier version's database is converted before its settings are taken, and the file is
  // read again as converted (here or, meanwhile, by another process). Whenever that cannot be
  // done now, the texts read above are still in the code page and are decoded here.
  if (StoredTextEncoding() == TextEncoding::kAnsi) {
    result.textsConverted = EnsureUtf8Database() == TextConversion::kConverted;
    result.textsAnsi = StoredTextEncoding() == TextEncoding::kAnsi;
    bytes.clear();
    if (result.textsAnsi || !ReadFileRange(path, 0, kSettingsSize, &bytes) ||
        !ParseSettings(bytes.data(), bytes.size(), &rec))
      RecodeSettingsTexts(&rec, AnsiToUtf8);
  }
  result.fromFile = true;
  result.enabled = rec._enabled;
  rec._enabled = s->_enabled;
  *s = rec;
  return result;
}

// The file always gets this layout's magic and version, and the texts the settings hold
// (a loaded field keeps the bytes after its NUL) are written with NULs after them.
bool WriteDataFile(const Settings& s) {
  Settings out = s;
  std::memcpy(out.magic, kMagic, sizeof kMagic);
  out.version = kSettingsVersion;
  HtmlSettings& h = out.html;
  for (auto* text :
       {&h._htm_filename, &h._htm_table_img, &h._htm_page_img, &h._htm_top_img, &h._htm_rest_img})
    ClearAfterText(*text);
  ClearAfterText(out._txt_text);
  ClearAfterText(out._txt_font);
  ClearAfterText(out._date);
  ClearAfterText(out._time);
  // UTF-8 texts go only into a folder that says so; one that cannot be converted (or marked)
  // now keeps the ANSI code page, and is converted with the rest later.
  if (EnsureUtf8Database() == TextConversion::kFailed) RecodeSettingsTexts(&out, Utf8ToAnsi);
  return WriteSettingsFile(FullPath(kSettingsFile), out);
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

int GetRects(Settings* s) {
  s->_rectHit = kDefaultHitRect;
  s->_rectTool = kDefaultToolRect;
  std::vector<unsigned char> bytes;
  constexpr size_t kRectsEnd = offsetof(Settings, list);
  if (!ReadFileRange(FullPath(kSettingsFile), 0, kRectsEnd, &bytes)) return 0;
  if (bytes.size() < kRectsEnd || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) return 0;
  std::memcpy(&s->_rectHit, bytes.data() + offsetof(Settings, _rectHit), sizeof s->_rectHit);
  std::memcpy(&s->_rectTool, bytes.data() + offsetof(Settings, _rectTool), sizeof s->_rectTool);
  return 1;
}

}  // namespace spinox
