// The settings dialog (111), run modally by config.
#pragma once
#include <windows.h>

namespace spinox {

INT_PTR CALLBACK DlgProcSettings(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace spinox
