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
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
    "</head>\n"
    "<body bgcolor=\"#ffffff\">\n"
    "<h2>Top %size %type</h2>\n"
    "<p>From %sdate to %edate %filter</p>\n"
    "%table\n"
    "<p><small>Written on %date at %time.</small></p>\n"
    "</body>\n"
    "</html>\n";

namespace {

bool IsValueEnd(char ch) {
  return ch == '"' || ch == '\'' || ch == ';' || ch == '>' || ch == ' ' || ch == '\t' ||
         ch == '\r' || ch == '\n';
}

// Where the head's first "charset=" starts, ASCII letters in any case; npos without one.
size_t FindCharset(const std::string& text) {
  static const char kKey[] = "charset=";
  const size_t keyLength = sizeof kKey - 1;
  for (size_t at = 0; at + keyLength <= text.size(); ++at) {
    if (text.compare(at, 7, "</head>") == 0 || text.compare(at, 7, "</HEAD>") == 0) break;
    size_t i = 0;
    while (i < keyLength && (text[at + i] | 0x20) == kKey[i]) ++i;
    if (i == keyLength) return at;
  }
  return std::string::npos;
}

}  // namespace

std::string TemplateAsUtf8(const std::string& bytes) {
  std::string text = IsUtf8(bytes.data(), bytes.size()) ? bytes : AnsiToUtf8(bytes);
  size_t at = FindCharset(text);
  if (at == std::string::npos) return text;
  size_t start = at + 8;
  if (start < text.size() && (text[start] == '"' || text[start] == '\'')) ++start;
  size_t end = start;
  while (end < text.size() && !IsValueEnd(text[end])) ++end;
  text.replace(start, end - start, "utf-8");
  return text;
}

bool InstallSampleTemplate(const std::string& path) {
  if (FileExists(path)) return true;
  std::string text;
  for (const char* p = kSampleTemplate; *p; ++p) {
    char ch = *p;
    if (ch == '\n') text += '\r';
    text += ch;
  }
  File f(path, "wb");
  return f.IsOpen() && f.Write(text.data(), text.size()) && f.Flush();
}

}  // namespace spinox
