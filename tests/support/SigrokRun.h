#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "capture/BusCapture.h"

namespace brelvion::testing {

struct CommandResult {
  int status = -1;
  std::vector<std::string> lines;
};

// Runs command through the shell, standard error joined to its output.
inline CommandResult runCommand(const std::string& command) {
  CommandResult result;
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  std::array<char, 512> buffer{};
  std::string text;
  while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) {
    text += buffer.data();
  }
  const int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) result.lines.push_back(line);
  return result;
}

inline bool sigrokAvailable() { return runCommand("command -v sigrok-cli").status == 0; }

// sigrok's I2C decoder on a VCD capture with the signals scl and sda: one line per item,
// "i2c-1: Start", "i2c-1: Address write: 21", ...
inline CommandResult decodeI2cCapture(const std::string& vcdPath) {
  return runCommand("sigrok-cli -I vcd -i '" + vcdPath +
                    "' -P i2c:scl=scl:sda=sda -A i2c=addr-data");
}

// The same on a capture, written to a scratch file named after name: its lines without
// the "i2c-1: " in front.
inline CommandResult decodeI2c(const capture::BusCapture& capture, const std::string& name) {
  const std::string path =
      ::testing::TempDir() + "brelvion_" + name + "_" + std::to_string(getpid()) + ".vcd";
  capture.writeVcdFile(path);
  CommandResult decoded = decodeI2cCapture(path);
  std::remove(path.c_str());
  for (std::string& line : decoded.lines) {
    if (line.rfind("i2c-1: ", 0) == 0) line.erase(0, 7);
  }
  return decoded;
}

}  // namespace brelvion::testing
