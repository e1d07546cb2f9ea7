#include "ui/shell_state_win.h"

namespace spinox {

void ReadPlayerSkin(ShellState& shell) {
  HBITMAP bitmap = shell.QuerySkinBitmap ? shell.QuerySkinBitmap(shell.hwnd_winamp) : nullptr;
  WADlg_init(shell.skin, bitmap);
}

}  // namespace spinox
