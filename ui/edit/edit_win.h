// The edit dialog (109): corrects the names of the song, album or artist of the hit list's
// focused row in the database, merging with an existing entry when the user agrees.
#pragma once
#include <windows.h>

#include <cstdint>

namespace spinox {

// What the dialog edits: 0 song, 1 album, 2 artist. Set by the hit list window before it runs
// the dialog.
extern int32_t _editType;

// Ends with 0 when nothing changed (cancelled, no focused row, an entry without an id of its
// own, or names that already were the entry's), 1 after a merge, 2 after a rename.
INT_PTR CALLBACK DlgProcEdit(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace spinox
