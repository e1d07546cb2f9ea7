// The sample HTML template installed in the data folder, the default template of the export.
#pragma once
#include <string>

namespace spinox {

extern const char* const kSampleTemplateName;  // "spinoxsampletemplate.htm"
extern const char* const kSampleTemplate;      // its text, lines ended by line feeds

// A template's text as pages are filled in from it: UTF-8, as the texts filled in are. A file that
// is not UTF-8 (written for an earlier version) is read from the ANSI code page, and the charset
// its head declares becomes utf-8 (earlier samples declared the code page).
std::string TemplateAsUtf8(const std::string& bytes);

// Writes the sample template's text to `path` (lines ended by CR LF) unless a file is already
// there. True when the file exists afterwards.
bool InstallSampleTemplate(const std::string& path);

}  // namespace spinox
