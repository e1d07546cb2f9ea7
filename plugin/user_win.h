// The user seam as message boxes and the open-file dialog, owned by the active window of the
// player's thread (a dialog that asks owns its question).
#pragma once

namespace spinox {

// Questions and notes as message boxes owned by the player window.
void InstallWin32User();
void RemoveWin32User();

}  // namespace spinox
