// The settings and their file gen_spinox.dat (3766 bytes, magic "SPX", version 151).
// docs/settings-format.md describes the layout. The plug-in owns one Settings (the shell's
// ShellState); the tool and the tests make their own.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "db/records.h"
#include "hitlist/hitlist.h"
#include "hitlist/time_text.h"
#include "html/html_settings.h"

namespace spinox {

constexpr int kSettingsSize = 3766;
constexpr int32_t kSettingsVersion = 151;
constexpr int kDateFormatSize = 25;
constexpr int kOsdTextSize = 200;
constexpr int kOsdFontSize = 50;

#pragma pack(push, 1)

// A window's place on the screen in pixels: left, top, right, bottom.
struct WindowRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};
static_assert(sizeof(WindowRect) == 16, "WindowRect layout");

// right - left and bottom - top, computed without overflow (a settings file may hold any
// numbers) and saturated to the 32-bit range.
int32_t RectWidth(const WindowRect& r);
int32_t RectHeight(const WindowRect& r);

// The settings: the plug-in's one live object, laid out as the settings file (3766 bytes) and
// written to it whole. Members are named as the file names its fields.
struct Settings {
  char magic[4];  // "SPX" and a NUL
  int32_t version;
  WindowRect _rectHit;   // hit list window (the frame of _hwndHit), set by the shell at quit
  WindowRect _rectTool;  // options panel (_hwndTool)
  HitListSettings list;  // what the hit list shows
  HtmlSettings html;     // the HTML export: colours, image paths, the dialog's fields
  int32_t _enabled;      // plug-in on; changed only through the shell's EnablePlug
  int32_t _skip;         // "Don't add tracks without tags"
  int32_t _addTime;      // play threshold: seconds, or a negative percentage
  int32_t _backup;       // automatic backup on
  int32_t _backupTime;   // automatic backup interval, days
  int32_t _backupLast;   // time of the last automatic backup
  int32_t _txt;          // show the on-screen display for a new track
  char _txt_text[kOsdTextSize];
  int32_t _txt_timeEnd;  // seconds on screen
  int32_t _txt_size;     // font size
  uint32_t _txt_bg;      // background colour
  char _txt_font[kOsdFontSize];
  int32_t _txt_bold;
  int32_t _txt_x;
  int32_t _txt_y;
  char _date[kDateFormatSize];  // strftime formats of dates and times on show
  char _time[kDateFormatSize];
  int32_t _highlight;  // highlight the playing track in the hit list
};
static_assert(sizeof(Settings) == kSettingsSize, "Settings layout");

#pragma pack(pop)

// The window places of a first start: hit list at 100,100-500,400, options panel at
// 505,100-900,350.
constexpr WindowRect kDefaultHitRect = {100, 100, 500, 400};
constexpr WindowRect kDefaultToolRect = {505, 100, 900, 350};

// The user's date and time formats, as the hit list and the pages take them.
TimeFormats TimeFormatsOf(const Settings& s);

// Recodes every text field of `s` in place, each cut between characters to its field: stored
// texts to UTF-8 (AnsiToUtf8, CleanUtf8), or UTF-8 to an earlier version's code page.
void RecodeSettingsTexts(Settings* s, std::string (*recode)(const std::string&));

// ---- The file ----

// The settings every default of a first start gives (_start and _end are ClockNow()).
Settings DefaultSettings();

// Parses settings file bytes. False when they do not begin with the magic (nothing written).
// A file shorter than the layout fills the whole fields it holds and takes the defaults for
// the rest; bytes past the layout (a later, longer layout) are ignored. Texts come back
// NUL-terminated within their fields.
bool ParseSettings(const unsigned char* data, size_t size, Settings* out);
// Reads and parses a settings file; false when it cannot be read or is not recognised.
bool ReadSettingsFile(const std::string& path, Settings* out);
// Writes the settings whole to a temporary file beside `path` and renames it over `path`;
// false (and `path` untouched) when any write fails.
bool WriteSettingsFile(const std::string& path, const Settings& s);

// What LoadDatFile did.
struct DatFileLoad {
  bool fromFile = false;        // the settings came from the file (else the defaults)
  bool converted = false;       // an old single-file database was split into the record files
  bool setAside = false;        // an unusable file was renamed to "gen_spinox.dat.bad"
  bool textsConverted = false;  // an earlier version's texts were converted to UTF-8
  bool textsAnsi = false;       // they could not be converted now (busy, disk full): still ANSI
  int32_t enabled = 1;          // the stored _enabled: the shell applies it through EnablePlug
};

// Reads gen_spinox.dat into `s`; an old single-file database is converted first, an unusable
// file set aside, and the defaults used. An earlier version's database is converted to UTF-8
// texts (db/convert_text.h) before the settings are taken; the texts in `s` are UTF-8 even
// when that could not be done now. `s->_enabled` is left as it was (the shell applies
// the stored flag through EnablePlug). The shell then moves the windows to _rectHit and
// _rectTool, puts _htmDialog into the HTML dialog and resets the play in progress.
DatFileLoad LoadDatFile(Settings* s);
// Writes `s` to gen_spinox.dat with this layout's magic and version; false when nothing could
// be saved. The texts are written in UTF-8 once the folder is (or is now made) UTF-8, else in
// the ANSI code page.
bool WriteDataFile(const Settings& s);
// Sets every default in `s` but _enabled (the shell switches the plug-in on through
// EnablePlug) and _highlight, which keeps its value.
void SetDefaults(Settings* s);
// The two window rectangles of a recognised settings file into s->_rectHit and s->_rectTool: 1.
// Without one, the defaults: 0.
int GetRects(Settings* s);

// One field of the layout, for listing a settings file by name.
enum class SettingsFieldKind { kInt, kColor, kText, kTime, kMagic, kRect };
struct SettingsField {
  const char* name;
  int offset;
  int width;
  SettingsFieldKind kind;
};
const std::vector<SettingsField>& SettingsFields();

}  // namespace spinox
