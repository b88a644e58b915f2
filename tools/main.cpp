#include "cli/cli_options.h"
#include "cli/commands.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  auto invocation = quenmark::cli::parseCommandLine(args);
  if (!invocation) {
    std::fprintf(stderr, "%s\n", invocation.error().description.c_str());
    return 2;
  }
  if (invocation.value().command.name == "help") {
    std::fputs(quenmark::cli::usageText().c_str(), stdout);
    return 0;
  }
  return quenmark::cli::runCommand(invocation.value());
}
