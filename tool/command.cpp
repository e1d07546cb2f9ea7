#include "tool/command.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "db/lock.h"

namespace spinox::cli {

namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

void PrintUsage(FILE* to) {
  std::fprintf(to, "usage: spinox COMMAND [OPTIONS] [ARGS]\n\ncommands:\n");
  std::vector<Command> sorted = Commands();
  std::sort(sorted.begin(), sorted.end(),
            [](const Command& a, const Command& b) { return std::string(a.name) < b.name; });
  for (const Command& c : sorted) std::fprintf(to, "  %-10s %s\n", c.name, c.summary);
  std::fprintf(to, "\n'spinox COMMAND --help' describes a command.\n");
}

}  // namespace

Registration::Registration(const Command& command) {
  Registry().push_back(command);
}

const std::vector<Command>& Commands() {
  return Registry();
}

namespace {

int Dispatch(const std::vector<std::string>& args, Io& io) {
  if (args.empty()) {
    PrintUsage(io.err);
    return kBadUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(io.out);
    return kOk;
  }
  // Another process changing the database is waited for this long before the tool says the
  // database is busy.
  SetLockWait(kLockWaitMs);
  for (const Command& c : Commands()) {
    if (args[0] == c.name) return c.run(std::vector<std::string>(args.begin() + 1, args.end()), io);
  }
  std::fprintf(io.err, "spinox: unknown command '%s'\n", args[0].c_str());
  PrintUsage(io.err);
  return kBadUsage;
}

}  // namespace

// What a command printed must have reached its output (a full disk, a closed pipe): a report
// that was lost is a failure, whatever the command itself returned.
int RunTool(const std::vector<std::string>& args, Io& io) {
  int code = Dispatch(args, io);
  errno = 0;
  if (std::fflush(io.out) == 0 && !std::ferror(io.out)) return code;
  std::string why = errno ? std::strerror(errno) : "write error";
  std::fprintf(io.err, "spinox: could not write the output: %s\n", why.c_str());
  return code == kOk ? kFailed : code;
}

}  // namespace spinox::cli
