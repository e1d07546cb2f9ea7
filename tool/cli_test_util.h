// Runs the spinox tool in-process with captured output and scripted terminal input.
#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "tests/test_util.h"
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

// Writes an untagged track at `track` and records one play of it at `at`; gives the exit code.
inline int PlayUntagged(const std::string& db, const std::string& track, int32_t at) {
  spinox::test::WriteBytes(track, std::vector<unsigned char>(300, 7));
  return RunCli({"play", "--db", db, "--at", "@" + std::to_string(at), track}).code;
}

inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// One call of the tool: the exit code it must give and a part of what it must print (standard
// output, then error), with `input` as the terminal's answers.
struct Step {
  std::vector<std::string> args;
  int code;
  std::string says;
  std::string input = "";
};

inline void RunSteps(const std::vector<Step>& steps) {
  for (const Step& s : steps) {
    CliRun r = RunCli(s.args, s.input);
    std::string shown = r.out + r.err, call;
    for (const std::string& a : s.args) call += a + " ";
    EXPECT_EQ(r.code, s.code) << call << "\n" << shown;
    EXPECT_TRUE(Contains(shown, s.says)) << call << "\n" << shown;
  }
}

}  // namespace spinox::cli::test
