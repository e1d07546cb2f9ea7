// The system's ANSI code page as the encoding of every stored text.
#pragma once

namespace spinox {

// Installs the process's ANSI code page as the system's text encoding.
void InstallAnsiCodePage();

}  // namespace spinox
