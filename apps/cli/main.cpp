#include <iostream>
#include <string>
#include <vector>

#include "CliRun.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return brelvion::cli::runCli(args, std::cout, std::cerr);
}
