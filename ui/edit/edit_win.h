// The edit dialog (109): corrects the names of the song, album or artist of the hit list's
// focused row in the database, merging with an existing entry when the user agrees.
#pragma once
#include <windows.h>

#include <cstdint>

#include "db/records.h"

namespace spinox {

// One run of the dialog, passed as its create parameter and living as long as it does.
struct EditDialogState {
  int32_t _editType = 0;  // what is edited: 0 song, 1 album, 2 artist
  RecId entry = kNoId;    // the entry fixed when the dialog opened
};

// Ends with 0 when nothing changed (cancelled, no focused row, an entry without an id of its
// own, or names that already were the entry's), 1 after a merge, 2 after a rename.
INT_PTR CALLBACK DlgProcEdit(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace spinox
