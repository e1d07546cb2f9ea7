// The sample HTML template installed in the data folder, the default template of the export.
#pragma once
#include <string>

namespace spinox {

extern const char* const kSampleTemplateName;  // "spinoxsampletemplate.htm"
extern const char* const kSampleTemplate;      // its text, lines ended by line feeds

// The sample's text declaring the ANSI code page the texts filled in are in (the shipped file
// declares windows-1252).
std::string SampleTemplateText();

// Writes the sample template's text to `path` (lines ended by CR LF) unless a file is already
// there. True when the file exists afterwards.
bool InstallSampleTemplate(const std::string& path);

}  // namespace spinox
