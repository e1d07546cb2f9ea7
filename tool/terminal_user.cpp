#include "tool/terminal_user.h"

#include <cctype>
#include <cstdio>

#include "tool/text_out.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace spinox::cli {

namespace {

std::string ReadLine(FILE* in) {
  std::string line;
  int c;
  while ((c = std::fgetc(in)) != EOF && c != '\n') line.push_back(static_cast<char>(c));
  while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.pop_back();
  size_t start = 0;
  while (start < line.size() && std::isspace(static_cast<unsigned char>(line[start]))) ++start;
  return line.substr(start);
}

}  // namespace

std::string OneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n' || c == '\r') c = ' ';
    if (c == ' ' && !out.empty() && out.back() == ' ') continue;
    out.push_back(c);
  }
  return out;
}

bool TerminalUser::Ask(const std::string& text, const std::string& caption) {
  if (answer_ != Answer::kAsk) return answer_ == Answer::kYes;
  std::fprintf(io_.out, "%s: %s [y/N] ", TerminalText(caption).c_str(),
               TerminalText(OneLine(text)).c_str());
  std::fflush(io_.out);
  std::string line = ReadLine(io_.in);
  if (!isatty(fileno(io_.in))) std::fprintf(io_.out, "%s\n", line.c_str());  // as typed
  for (char& c : line) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return line == "y" || line == "yes";
}

void TerminalUser::Tell(const std::string& text, const std::string&) {
  note_ = OneLine(text);
}

bool TerminalUser::ChooseFile(const std::string&, const std::string&, const std::string&,
                              std::string* path) {
  if (file_.empty()) return false;
  *path = file_;
  return true;
}

}  // namespace spinox::cli
