#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/PortBackend.h"

namespace brelvion::cli {

enum class Command { Write, Read, Send, Dump };

struct CliRequest {
  Command command = Command::Write;
  std::int16_t device = 0;
  std::int16_t subAddress = 0;
  std::int16_t data = 0;
  // Bytes to read, 1 to 32768.
  int count = 1;
  // The command file to send, or the file to dump into.
  std::string file;
  // The last register to dump, 0 to 32767.
  std::int16_t last = 0;
  // Extra seconds after each write of a send, 0 to 9.99.
  double delay = 0;

  platform::PortBackend backend = platform::PortBackend::Auto;
  std::int16_t portIndex = 0;
  // Write addresses of the simulated sensors; empty for a bus with no device.
  std::vector<std::uint8_t> simulatedDevices{0x42};
  std::optional<std::string> capturePath;
  bool trace = false;
};

struct HelpRequest {};

struct UsageError {
  std::string message;
};

using ParsedArguments = std::variant<CliRequest, HelpRequest, UsageError>;

// args without the program name. Options may come anywhere; "--" ends them.
ParsedArguments parseArguments(const std::vector<std::string>& args);

// Within 80 columns, for a terminal.
std::string usageText();

// An argument as an error message echoes it: in single quotes, control characters as \xNN,
// and cut to a readable length.
std::string shownArgument(const std::string& text);

// text with control characters as \xNN, for messages that carry a user's file name.
std::string escapeControls(std::string_view text);

}  // namespace brelvion::cli
