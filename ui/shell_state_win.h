// What the plug-in's windows share. The plug-in owns the one ShellState (plugin/plugin_win.cpp)
// and the objects it points to; the windows reach them through it rather than through globals
// of their own, and never include the plug-in's headers.
#pragma once
#include <windows.h>

#include "ui/hitlist/tool_win.h"
#include "ui/toolkit/skin_win.h"

namespace spinox {

struct ShellState {
  HINSTANCE instance = nullptr;  // the plug-in DLL, for its resources
  Skin skin;                     // the embedded windows' colours
  ToolPanelState tool;
};

// The plug-in's one instance. Windows that are made with a pointer to their state keep that;
// this is for the calls the player and the system make without one.
ShellState& Shell();

}  // namespace spinox
