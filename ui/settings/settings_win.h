// "Spinox Settings" (dialog 111), run modally by config: the general, backup, on-screen display
// and date/time pages, and the database actions. Settings take effect in memory on OK; the
// settings file is written at shutdown.
#pragma once
#include <windows.h>

#include <cstdint>

#include "ui/toolkit/gdi_win.h"

namespace spinox {

// The dialog's own state.
struct SettingsDialogState {
  SolidBrush gSwatchBrush;  // the display colour's swatch
};

INT_PTR CALLBACK DlgProcSettings(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

// Fills every control from the globals.
void PrepareSettingsControls(HWND dlg);
// Copies every control into the globals.
void SaveSettings(HWND dlg);
// Shows the controls of `page` (0..3) and hides those of the others.
void SettingsSideChanged(HWND dlg, int page);
// Copies the display page's template, font, duration, size, weight and place into the globals.
void SaveDisplayPage(HWND dlg);
// A number box left empty or at 0 takes 1.
void NumberBoxLeft(HWND dlg, int id);

// `time` as local time formatted with `format` (at most 199 characters) in control `id`.
void SetDT(HWND dlg, int id, int32_t time, const char* format);
void SetDate(HWND dlg, int id, int32_t time);  // with _date
void SetTime(HWND dlg, int id, int32_t time);  // with _time

}  // namespace spinox
