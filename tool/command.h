// The spinox tool's subcommands. Each command file registers itself with a static Registration.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace spinox::cli {

struct Io {
  FILE* out = stdout;
  FILE* err = stderr;
  FILE* in = stdin;  // answers to questions asked on the terminal
};

using RunFn = int (*)(const std::vector<std::string>& args, Io& io);

struct Command {
  const char* name;
  const char* summary;  // one line for the tool's --help
  RunFn run;
};

struct Registration {
  explicit Registration(const Command& command);
};

const std::vector<Command>& Commands();

// Runs the tool with argv[1..] as `args`; returns the process exit code.
int RunTool(const std::vector<std::string>& args, Io& io);

// Exit codes.
constexpr int kOk = 0;
constexpr int kFailed = 1;    // the operation failed (a file, a refused input)
constexpr int kBadUsage = 2;  // bad arguments or options

// How long a command waits for the database lock (milliseconds).
constexpr int kLockWaitMs = 5000;

}  // namespace spinox::cli
