// The settings that live in windows: the frames' places and the HTML dialog's controls.
#pragma once

namespace spinox {

// Puts the loaded settings into the windows: frames to their rectangles, the HTML dialog's
// fields into its controls. TakeWindowSettings reads them back before the file is written.
void PutWindowSettings();
void TakeWindowSettings();

}  // namespace spinox
