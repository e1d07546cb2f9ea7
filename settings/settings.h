// The settings file gen_spinox.dat (3766 bytes, magic "SPX", version 151) and the settings
// globals it holds. docs/settings-format.md describes the layout.
//
// The hit-list settings (_type, _period, _check, _start, _end, _size, _pos, _change) belong to
// the hit list engine (hitlist/hitlist.h); the file holds them and the loader sets them.
// The plug-in's own play-detection state (_timer, _added) is reset by the shell after loading.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "db/records.h"
#include "hitlist/hitlist.h"

namespace spinox {

constexpr int kSettingsSize = 3766;
constexpr int32_t kSettingsVersion = 151;
constexpr int kDateFormatSize = 25;
constexpr int kOsdTextSize = 200;
constexpr int kOsdFontSize = 50;
constexpr uint32_t kNoColor = 0xFFFFFFFF;

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

// The HTML export dialog's fields as the settings file holds them (offsets 1346..3409). The
// Win32 shell moves them into the dialog's controls after loading and reads them back before
// writing; texts are the controls' texts, numbers the number edits, indices the combo
// selections, flags the check boxes (1 checked, 0 not).
struct HtmlSettings {
  char pageImgBox[kPathSize];    // edit 1073: file name of the page background image
  char tableImgBox[kPathSize];   // edit 1031
  char topImgBox[kPathSize];     // edit 1052
  char restImgBox[kPathSize];    // edit 1065
  int32_t openInBrowser;         // check box 1081
  int32_t useTemplate;           // check box 1082
  char templateFile[kPathSize];  // edit 1083
  char pageTitle[kPathSize];     // edit 1033
  int32_t tableWidth;            // edit 1035
  int32_t widthUnit;             // combo 1026: 0 "%", 1 "pixels"
  int32_t tableAlign;            // combo 1029
  int32_t cellPadding;           // edit 1027
  int32_t cellSpacing;           // edit 1028
  int32_t borderWidth;           // edit 1030
  char topFont[kPathSize];       // combo 1032 text
  char restFont[kPathSize];      // combo 1056 text
  int32_t topBold;               // check box 1044
  int32_t topItalic;             // check box 1045
  int32_t restBold;              // check box 1059
  int32_t restItalic;            // check box 1060
  int32_t topAlign;              // combo 1034
  int32_t topFontSize;           // combo 1046
  int32_t restAlign;             // combo 1057
  int32_t restFontSize;          // combo 1058
};
static_assert(sizeof(HtmlSettings) == 2064, "HtmlSettings layout");

// The whole settings file, field by field at its offset.
struct SettingsRecord {
  char magic[4];  // "SPX" and a NUL
  int32_t version;
  WindowRect hitRect;   // hit list window (the frame of _hwndHit)
  WindowRect toolRect;  // options panel (_hwndTool)
  HitListSettings list;
  uint32_t htmTableBg;
  uint32_t htmTableBrd;
  uint32_t htmTopBg;
  uint32_t htmTopFg;
  uint32_t htmRestBg;
  uint32_t htmRestFg;
  char htmFilename[kPathSize];
  char htmTableImg[kPathSize];
  char htmPageImg[kPathSize];
  char htmTopImg[kPathSize];
  char htmRestImg[kPathSize];
  HtmlSettings html;
  int32_t enabled;
  int32_t skip;
  int32_t addTime;
  int32_t backup;
  int32_t backupTime;
  int32_t backupLast;
  int32_t txt;
  char txtText[kOsdTextSize];
  int32_t txtTimeEnd;
  int32_t txtSize;
  uint32_t txtBg;
  char txtFont[kOsdFontSize];
  int32_t txtBold;
  int32_t txtX;
  int32_t txtY;
  char date[kDateFormatSize];
  char time[kDateFormatSize];
  int32_t highlight;
};
static_assert(sizeof(SettingsRecord) == kSettingsSize, "SettingsRecord layout");

#pragma pack(pop)

// ---- The settings globals (hit-list ones live in hitlist/hitlist.h) ----

extern WindowRect _rectHit;   // where the hit list window's frame is (set by the shell at quit)
extern WindowRect _rectTool;  // where the options panel is
extern int32_t _enabled;      // plug-in on; changed only through the shell's EnablePlug
extern int32_t _skip;         // "Don't add tracks without tags"
extern int32_t _addTime;      // play threshold: seconds, or a negative percentage
extern int32_t _backup;       // automatic backup on
extern int32_t _backupTime;   // automatic backup interval, days
extern int32_t _backupLast;   // time of the last automatic backup
extern int32_t _highlight;    // highlight the playing track in the hit list

// HTML export: colours (0x00BBGGRR, kNoColor for none) and image paths; the dialog's other
// fields in _htmDialog.
extern uint32_t _htm_table_bg;
extern uint32_t _htm_table_brd;
extern uint32_t _htm_top_bg;
extern uint32_t _htm_top_fg;
extern uint32_t _htm_rest_bg;
extern uint32_t _htm_rest_fg;
extern char _htm_filename[kPathSize];
extern char _htm_table_img[kPathSize];
extern char _htm_page_img[kPathSize];
extern char _htm_top_img[kPathSize];
extern char _htm_rest_img[kPathSize];
extern HtmlSettings _htmDialog;

// On-screen display.
extern int32_t _txt;  // show the display for a new track
extern char _txt_text[kOsdTextSize];
extern int32_t _txt_timeEnd;  // seconds on screen
extern int32_t _txt_size;     // font size
extern uint32_t _txt_bg;      // background colour
extern char _txt_font[kOsdFontSize];
extern int32_t _txt_bold;
extern int32_t _txt_x;
extern int32_t _txt_y;

// strftime formats of the display's date and time tags.
extern char _date[kDateFormatSize];
extern char _time[kDateFormatSize];

// ---- The file ----

// The record every default of a first start gives (hit list at 100,100-500,400, options panel
// at 505,100-900,350; _start and _end are ClockNow()).
SettingsRecord DefaultSettings();
// The globals as they stand, as a record ready to write (magic and version filled in).
SettingsRecord CurrentSettings();
// Sets every global from the record; _enabled is left to the caller (the shell's EnablePlug).
void ApplySettings(const SettingsRecord& rec);

// Parses settings file bytes. False when they do not begin with the magic (nothing written).
// A file shorter than the layout fills the whole fields it holds and takes the defaults for
// the rest; bytes past the layout (a later, longer layout) are ignored. Texts come back
// NUL-terminated within their fields.
bool ParseSettings(const unsigned char* data, size_t size, SettingsRecord* out);
// Reads and parses a settings file; false when it cannot be read or is not recognised.
bool ReadSettingsFile(const std::string& path, SettingsRecord* out);
// Writes the record whole to a temporary file beside `path` and renames it over `path`; false
// (and `path` untouched) when any write fails.
bool WriteSettingsFile(const std::string& path, const SettingsRecord& rec);

// What LoadDatFile did.
struct DatFileLoad {
  bool fromFile = false;   // the globals came from the file (else the defaults)
  bool converted = false;  // an old single-file database was split into the record files
  bool setAside = false;   // an unusable file was renamed to "gen_spinox.dat.bad"
  int32_t enabled = 1;     // the stored _enabled: the shell applies it through EnablePlug
};

// Reads gen_spinox.dat into the globals; an old single-file database is converted first, an
// unusable file set aside, and the defaults used. The shell then moves the windows to _rectHit
// and _rectTool, puts _htmDialog into the HTML dialog and resets _timer and _added.
DatFileLoad LoadDatFile();
// Writes every setting to gen_spinox.dat; false when nothing could be saved.
bool WriteDataFile();
// Sets every default (the windows' places into _rectHit and _rectTool). `_enabled` is left to
// the caller, which switches the plug-in on through EnablePlug; _highlight keeps its value.
void SetDefaults();
// The two window rectangles of a recognised settings file: 1 and both written, else 0.
int GetRects(WindowRect* hit, WindowRect* tool);

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
