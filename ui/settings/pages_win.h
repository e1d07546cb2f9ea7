// The settings dialog's pages: the shell's settings into the controls and back.
#pragma once
#include <windows.h>

#include <cstdint>

#include "settings/settings.h"

namespace spinox {

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
