// The HTML export's part of the settings file (offsets 72..3409): the saved colours, the
// chosen image paths and the dialog's fields, and the page, table and row records made of them.
#pragma once
#include <cstdint>

#include "db/records.h"
#include "html/color.h"
#include "html/html_writer.h"

namespace spinox {

#pragma pack(push, 1)

// The "Generate HTML" dialog's fields (offsets 1346..3409). The Win32 shell moves them into
// the dialog's controls after loading and reads them back before writing; texts are the
// controls' texts, numbers the number edits, indices the combo selections, flags the check
// boxes (1 checked, 0 not).
struct HtmlDialog {
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
static_assert(sizeof(HtmlDialog) == 2064, "HtmlDialog layout");

// The HTML export's settings as the settings file holds them. Colours are 0x00BBGGRR,
// kNoColor for none; the image paths are the full paths of the chosen images, whose file
// names the dialog's image boxes show.
struct HtmlSettings {
  uint32_t _htm_table_bg;
  uint32_t _htm_table_brd;
  uint32_t _htm_top_bg;
  uint32_t _htm_top_fg;
  uint32_t _htm_rest_bg;
  uint32_t _htm_rest_fg;
  char _htm_filename[kPathSize];
  char _htm_table_img[kPathSize];
  char _htm_page_img[kPathSize];
  char _htm_top_img[kPathSize];
  char _htm_rest_img[kPathSize];
  HtmlDialog _htmDialog;
};
static_assert(sizeof(HtmlSettings) == 3338, "HtmlSettings layout");

#pragma pack(pop)

// The 22 entries of the font size lists, by index.
const char* FontSizeText(int32_t index);

// Fills the four records from the saved colours and the dialog fields of `html`; the page
// colour is `pageBg` (not saved: none at every start).
void FillTableStruct(const HtmlSettings& html, uint32_t pageBg, HtmTableProps* table,
                     HtmRowProps* top, HtmRowProps* rest, HtmPageProps* page);

}  // namespace spinox
