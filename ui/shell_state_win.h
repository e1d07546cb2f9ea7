// What the plug-in's windows share. The plug-in owns the one ShellState and the objects it
// points to; the windows reach them through it rather than through globals of their own, and
// never include the plug-in's headers: what they ask of the plug-in goes through the hooks it
// sets here at start-up.
#pragma once
#include <windows.h>

#include "hitlist/shown_list.h"
#include "settings/settings.h"
#include "ui/hitlist/list_win.h"
#include "ui/hitlist/tool_win.h"
#include "ui/html/dialog_win.h"
#include "ui/osd/display_text.h"
#include "ui/osd/text_win.h"
#include "ui/settings/settings_win.h"
#include "ui/toolkit/skin_win.h"

namespace spinox {

// The player's record of an embedded window; only the plug-in reads it.
struct EmbedWindowState;

struct ShellState {
  HINSTANCE instance = nullptr;  // the plug-in DLL, for its resources
  HWND hwnd_winamp = nullptr;    // the player's main window
  // The live settings: read at start-up, written at shutdown. Counting starts on: the stored
  // flag is applied through EnablePlug, which acts only on a change.
  Settings settings = [] {
    Settings s = {};
    s._enabled = 1;
    return s;
  }();
  DisplayState osd;  // the display's text and its time on screen
  // The list on show in the hit list window; what it shows is the settings' part for the list.
  ShownList list{settings.list};

  // The hook on the player's window: the procedure it replaced (set while the plug-in's is in
  // the window's chain), the window it was installed on, and whether it does the plug-in's work.
  WNDPROC lpWndProcOld = nullptr;
  HWND hookedWindow = nullptr;
  bool running = false;

  // The embedded windows: the records the player keeps their frames' places in, the frames,
  // and the windows inside them.
  EmbedWindowState* wa_wnd = nullptr;   // options panel
  EmbedWindowState* wa_wnd3 = nullptr;  // hit list window
  HWND wa2 = nullptr;                   // the options panel's frame
  HWND wa3 = nullptr;                   // the hit list window's frame
  HWND _hwndTool = nullptr;             // options panel (105)
  HWND _hwndHit = nullptr;              // hit list window (104)
  // The windows the plug-in owns itself.
  HWND _hwndHTM = nullptr;    // "Generate HTML" (110)
  HWND _hwndDummy = nullptr;  // hidden owner of the display
  HWND _hwndText = nullptr;   // on-screen display (106)

  Skin skin;  // the embedded windows' colours
  HitListWindowState hitList;
  ToolPanelState tool;
  HtmlDialogState htm;
  SettingsDialogState settingsDialog;
  DisplayWindowState display;
  COLORREF _colArray[16] = {};  // the colour chooser's custom colours while the plug-in runs

  // What the windows ask of the plug-in. A null hook does nothing.
  void (*EnablePlug)(int flag) = nullptr;             // counting on or off, the tray icon following
  HBITMAP (*QuerySkinBitmap)(HWND player) = nullptr;  // the skin's bitmap, null when none
  void (*ShowDisplay)() = nullptr;     // the display for the track playing, its clock started
  void (*MarkPlayingRow)() = nullptr;  // marks the playing track's row in the list on show
};

// The plug-in's one instance. Windows that are made with a pointer to their state keep that;
// this is for the calls the player and the system make without one.
ShellState& Shell();

// Reads the player's skin again into the shared table.
void ReadPlayerSkin(ShellState& shell);

template <typename... A>
void CallHook(void (*hook)(A...), A... args) {
  if (hook) hook(args...);
}

}  // namespace spinox
