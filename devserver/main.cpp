#include <iostream>
#include <string>
#include <vector>

#include "devserver/command_line.h"

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  return quenmark::devserver::runCommandLine(arguments, std::cout, std::cerr);
}
