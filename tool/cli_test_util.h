// Runs the spinox tool in-process with captured output and scripted terminal input.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "tool/command.h"

namespace spinox::cli::test {

struct CliRun {
  int code = 0;
  std::string out, err;
};

inline std::string SlurpAndClose(FILE* f) {
  std::string s;
  std::rewind(f);
  int c;
  while ((c = std::fgetc(f)) != EOF) s.push_back(static_cast<char>(c));
  std::fclose(f);
  return s;
}

// `input` is what the terminal answers to the questions asked.
inline CliRun RunCli(const std::vector<std::string>& args, const std::string& input = "") {
  Io io;
  io.out = std::tmpfile();
  io.err = std::tmpfile();
  io.in = std::tmpfile();
  std::fputs(input.c_str(), io.in);
  std::rewind(io.in);
  CliRun r;
  r.code = RunTool(args, io);
  r.out = SlurpAndClose(io.out);
  r.err = SlurpAndClose(io.err);
  std::fclose(io.in);
  return r;
}

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace spinox::cli::test
