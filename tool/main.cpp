#include <string>
#include <vector>

#include "tool/command.h"

#ifdef _WIN32
#include <windows.h>

#include "base/codepage.h"
#include "plugin/codepage_win.h"

// The arguments as the system holds them, in UTF-16 (the narrow argv would be in the ANSI code
// page, with every character outside it lost): the tool works in UTF-8. Linked with -municode.
// It prints UTF-8, which a console shows as such only while its output code page is UTF-8: set
// for the run, and the console's own given back after it. A playlist in the ANSI code page
// (.m3u) names a path the code page cannot hold by its short name, as the plug-in's does. The
// ANSI code page is the system's, as the plug-in's: an earlier version's database written on a
// Japanese system is converted from Shift_JIS, not Windows-1252.
int wmain(int argc, wchar_t** argv) {
  spinox::InstallAnsiCodePage();
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(spinox::Utf8FromWide(std::wstring(argv[i])));
  UINT consolePage = GetConsoleOutputCP();
  if (consolePage != 0) SetConsoleOutputCP(CP_UTF8);
  spinox::cli::Io io;
  int code = spinox::cli::RunTool(args, io);
  if (consolePage != 0) SetConsoleOutputCP(consolePage);
  return code;
}
#else
int main(int argc, char** argv) {
  spinox::cli::Io io;
  return spinox::cli::RunTool(std::vector<std::string>(argv + 1, argv + argc), io);
}
#endif
