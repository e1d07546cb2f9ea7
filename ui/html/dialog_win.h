// "Generate HTML" (dialog 110): modeless, created hidden at start-up and shown by the hit list
// window's command. Its controls are the store of the HTML dialog's fields; the saved colours and
// the image paths are the shell's settings, the page colour is the dialog's own state.
#pragma once
#include <windows.h>

#include <cstdint>

#include "html/html_settings.h"
#include "settings/settings.h"
#include "ui/toolkit/gdi_win.h"

namespace spinox {

// The dialog's own state.
struct HtmlDialogState {
  SolidBrush gSwatchBrush;           // the colour swatches'
  uint32_t _htm_page_bg = kNoColor;  // the page background colour: never saved
};

INT_PTR CALLBACK DlgProcHTM(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the lists, the installed fonts and the hint of _hwndHTM: once, before the settings are
// loaded into it.
void InitHTM();
// Brings the colour edits, the swatches and the template rule in line with the loaded settings.
void PrepareColors();

}  // namespace spinox
