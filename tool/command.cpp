#include "tool/command.h"

#include <algorithm>

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

int RunTool(const std::vector<std::string>& args, Io& io) {
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

}  // namespace spinox::cli
