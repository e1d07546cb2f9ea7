// The hit list options panel (dialog 105), embedded in a frame of the player. It holds no state
// of its own: "Refresh Hitlist" reads it into the hit list globals, and its action buttons
// forward their commands to the hit list window.
#pragma once
#include <windows.h>

#include <cstdint>

#include "ui/toolkit/gdi_win.h"

namespace spinox {

// The options panel's own state.
struct ToolPanelState {
  SolidBrush gButtonBrush;  // the buttons' background when the skin leaves their colours alone
};

INT_PTR CALLBACK DlgProcTool(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

// Fills the fixed lists and sets every control from the globals (after the settings are read).
void InitTool();
// Reads every control, enabled or not, into the globals.
void GetToolValues();
// The filter type chosen in the panel's filter-type list.
int32_t GetFilter();

}  // namespace spinox
