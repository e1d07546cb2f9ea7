// The plug-in's entry: the record the player loads, start-up and shutdown. The windows and
// handles are in Shell() (ui/shell_state_win.h).
#pragma once
#include <windows.h>

#include "plugin/host_win.h"

namespace spinox {

extern const char kPluginTitle[];  // "Spinox v1.51": record description and tray tip
extern const char kWebsite[];

// The record the player loads.
extern PluginRecord plugin;

int init();
void config();
void quit();

// One tick of play detection on the plug-in's settings, play and display.
void RunTick();

}  // namespace spinox
