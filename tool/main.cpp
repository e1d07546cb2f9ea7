#include "tool/command.h"

int main(int argc, char** argv) {
  spinox::cli::Io io;
  return spinox::cli::RunTool(std::vector<std::string>(argv + 1, argv + argc), io);
}
