// The HTML dialog's controls as the fields of the settings file.
#pragma once
#include <windows.h>

#include "html/html_settings.h"

namespace spinox {

// The dialog's fields as the settings file holds them. Texts are the controls' texts, numbers
// the number edits, indices the list selections; a stored check of 0 leaves its box as it is.
void PutHtmDialog(HWND dlg, const HtmlDialog& fields);
void TakeHtmDialog(HWND dlg, HtmlDialog* fields);

}  // namespace spinox
