#include "html/sample_template.h"

#include "base/codepage.h"
#include "base/file.h"

namespace spinox {

const char* const kSampleTemplateName = "spinoxsampletemplate.htm";

// The same text as html/spinoxsampletemplate.htm, which ships beside the plug-in.
const char* const kSampleTemplate =
    "<html>\n"
    "<head>\n"
    "<title>Top %size %type</title>\n"
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
    "</head>\n"
    "<body bgcolor=\"#ffffff\">\n"
    "<h2>Top %size %type</h2>\n"
    "<p>From %sdate to %edate %filter</p>\n"
    "%table\n"
    "<p><small>Written on %date at %time.</small></p>\n"
    "</body>\n"
    "</html>\n";

std::string SampleTemplateText() {
  std::string text = kSampleTemplate;
  const std::string shipped = "charset=windows-1252";
  size_t at = text.find(shipped);
  if (at != std::string::npos) text.replace(at, shipped.size(), "charset=" + AnsiCharset());
  return text;
}

bool InstallSampleTemplate(const std::string& path) {
  if (FileExists(path)) return true;
  std::string text;
  for (char ch : SampleTemplateText()) {
    if (ch == '\n') text += '\r';
    text += ch;
  }
  File f(path, "wb");
  return f.IsOpen() && f.Write(text.data(), text.size()) && f.Flush();
}

}  // namespace spinox
