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

}  // namespace spinox
