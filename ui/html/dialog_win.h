// "Generate HTML" (dialog 110): modeless, hidden until the hit list window asks for it.
#pragma once
#include <windows.h>

namespace spinox {

INT_PTR CALLBACK DlgProcHTM(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace spinox
