// Watching a loaded module's calls into a system DLL: its import table entry for one function
// is pointed at a replacement, so a test can see (and answer) what the module asks for.
#pragma once
#include <windows.h>

namespace spinox::e2e {

// Replaces `module`'s import of `function` from `dll` (names compared without case). Returns
// the address it imported before, or null when the module does not import it.
void* HookImport(HMODULE module, const char* dll, const char* function, void* replacement);

}  // namespace spinox::e2e
