#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "FdOutput.h"

int main(int argc, char** argv) {
  using namespace brelvion::apps::cli;
  const bool stdoutOpen = occupyStandardDescriptors();
  const std::vector<std::string> args(argv + 1, argv + argc);
  FdOutputBuffer outBuffer(STDOUT_FILENO, stdoutOpen ? 0 : EBADF);
  std::ostream out(&outBuffer);
  const int status = runCli(args, out, std::cerr);
  out.flush();
  if (outBuffer.error() != 0) {
    std::cerr << "brelvion-i2c-cli: write error: " << std::strerror(outBuffer.error()) << '\n';
    return kExitUsageOrPortError;
  }
  return status;
}
