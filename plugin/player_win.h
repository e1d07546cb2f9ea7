// The player seam answered with messages to the player's main window.
#pragma once
#include <windows.h>

#include "plugin/host_win.h"

namespace spinox {

// Player queries that are Win32 objects rather than the player seam's plain values.
HBITMAP QuerySkinBitmap(HWND player);
HWND QueryEmbedFrame(HWND player, EmbedWindowState* state);

// The player seam answered by messages to `player`; installed by init.
void InstallWinampPlayer(HWND player);
void RemoveWinampPlayer();

}  // namespace spinox
