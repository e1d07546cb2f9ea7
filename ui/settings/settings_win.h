// "Spinox Settings" (dialog 111), run modally by config: the general, backup, on-screen display
// and date/time pages, and the database actions. It edits the shell's settings: they take
// effect in memory on OK; the settings file is written at shutdown. The dialog's parameter is
// the settings as they were when it opened, which Cancel puts back for the display's.
#pragma once
#include <windows.h>

#include <cstdint>

#include "settings/settings.h"
#include "ui/toolkit/gdi_win.h"

namespace spinox {

// The dialog's own state.
struct SettingsDialogState {
  SolidBrush gSwatchBrush;  // the display colour's swatch
};

INT_PTR CALLBACK DlgProcSettings(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

// Fills every control from the settings.
void PrepareSettingsControls(HWND dlg, const Settings& s);
// Copies every control into the settings.
void SaveSettings(HWND dlg, Settings* s);
// Shows the controls of `page` (0..3) and hides those of the others.
void SettingsSideChanged(HWND dlg, int page);
// Copies the display page's template, font, duration, size, weight and place into the settings.
void SaveDisplayPage(HWND dlg, Settings* s);
// A number box left empty or at 0 takes 1.
void NumberBoxLeft(HWND dlg, int id);

// `time` as local time formatted with `format` (at most 199 characters) in control `id`.
void SetDT(HWND dlg, int id, int32_t time, const char* format);

}  // namespace spinox
