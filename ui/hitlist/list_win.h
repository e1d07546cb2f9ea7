// The hit list window (dialog 104): a title line, the list view, the period scroll bar and the
// playlist scan's progress bar, embedded in a frame of the player. It shows the list on show
// (_hitlist) and carries out every command on it, the options panel's buttons included.
#pragma once
#include <windows.h>

#include <cstdint>

namespace spinox {

// The hit list window's own state.
struct HitListWindowState {
  int32_t _clmns = 0;  // columns of the list view
};

INT_PTR CALLBACK DlgProcList(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace spinox
