#include "CliArguments.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <map>

#include "numconv/HexByteValue.h"

namespace brelvion::cli {

namespace {

constexpr int kMaxReadCount = 32768;

bool isHexField(const std::string& text) {
  if (text.empty() || text.size() > 2) return false;
  for (char ch : text) {
    if (!std::isxdigit(static_cast<unsigned char>(ch))) return false;
  }
  return true;
}

// A hex field as the entry fields hold it: one or two digits.
std::optional<std::int16_t> hexField(const std::string& text) {
  if (!isHexField(text)) return std::nullopt;
  return numconv::HexByteValue(text);
}

std::optional<int> decimal(const std::string& text) {
  int value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<std::string> parseSimDevices(const std::string& text, CliRequest& request) {
  request.simulatedDevices.clear();
  if (text == "none") return std::nullopt;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
    const auto address = hexField(item);
    if (!address)
      return "--sim-device wants write addresses in hex (one or two digits) or 'none', not '" +
             item + "'";
    request.simulatedDevices.push_back(static_cast<std::uint8_t>(*address));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return std::nullopt;
}

std::optional<std::string> applyOption(const std::string& name, const std::string& value,
                                       CliRequest& request) {
  if (name == "--backend") {
    using platform::PortBackend;
    static const std::map<std::string, PortBackend> backends{{"auto", PortBackend::Auto},
                                                             {"sim", PortBackend::Simulated},
                                                             {"ppdev", PortBackend::Ppdev},
                                                             {"ioport", PortBackend::IoPort}};
    const auto found = backends.find(value);
    if (found == backends.end())
      return "--backend must be auto, sim, ppdev or ioport, not '" + value + "'";
    request.backend = found->second;
  } else if (name == "--port") {
    static const std::map<std::string, std::int16_t> ports{{"lpt1", 0}, {"lpt2", 1}, {"lpt3", 2}};
    const auto found = ports.find(value);
    if (found == ports.end()) return "--port must be lpt1, lpt2 or lpt3, not '" + value + "'";
    request.portIndex = found->second;
  } else if (name == "--sim-device") {
    return parseSimDevices(value, request);
  } else if (name == "--capture") {
    if (value.empty()) return "--capture wants a file name";
    request.capturePath = value;
  }
  return std::nullopt;
}

std::optional<std::string> applyCommand(const std::vector<std::string>& words,
                                        CliRequest& request) {
  const std::string& command = words[0];
  auto field = [&](std::size_t i, const char* what,
                   std::int16_t& target) -> std::optional<std::string> {
    const auto value = hexField(words[i]);
    if (!value) return std::string(what) + " must be one or two hex digits, not '" + words[i] + "'";
    target = *value;
    return std::nullopt;
  };
  if (command == "write") {
    if (words.size() != 4) return "write wants DEV SUB DATA";
    request.command = Command::Write;
    if (auto error = field(1, "DEV", request.device)) return error;
    if (auto error = field(2, "SUB", request.subAddress)) return error;
    return field(3, "DATA", request.data);
  }
  if (command == "read") {
    if (words.size() != 3 && words.size() != 4) return "read wants DEV SUB [N]";
    request.command = Command::Read;
    if (auto error = field(1, "DEV", request.device)) return error;
    if (auto error = field(2, "SUB", request.subAddress)) return error;
    if (words.size() == 4) {
      const auto count = decimal(words[3]);
      if (!count || *count < 1 || *count > kMaxReadCount) {
        return "N must be a decimal count from 1 to 32768, not '" + words[3] + "'";
      }
      request.count = *count;
    }
    return std::nullopt;
  }
  return "unknown command '" + command + "' (use write or read)";
}

}  // namespace

ParsedArguments parseArguments(const std::vector<std::string>& args) {
  static const std::vector<std::string> valued{"--backend", "--port", "--sim-device", "--capture"};
  CliRequest request;
  std::vector<std::string> words;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") return HelpRequest{};
    if (arg == "--trace") {
      request.trace = true;
      continue;
    }
    if (arg.rfind("--", 0) != 0 || arg.size() == 2) {
      words.push_back(arg);
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (std::find(valued.begin(), valued.end(), name) == valued.end()) {
      return UsageError{"unknown option '" + name + "'"};
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return UsageError{name + " wants a value"};
    }
    if (auto error = applyOption(name, value, request)) return UsageError{*error};
  }
  if (words.empty()) return UsageError{"no command given (use write or read; --help explains)"};
  if (auto error = applyCommand(words, request)) return UsageError{*error};
  return request;
}

std::string usageText() {
  return R"(Usage: brelvion-i2c-cli [options] write DEV SUB DATA
       brelvion-i2c-cli [options] read DEV SUB [N]

Drives an I2C bus bit by bit through a PC parallel port, as the Brelvion I2C Debug
Tool does, for scripts and quick checks without its windows.

Commands:
  write DEV SUB DATA  Write DATA to register SUB of device DEV, then read the
                      register back. Prints the byte read back in hex and ACK or
                      NO ACK (the acknowledge of the read's address byte).
  read DEV SUB [N]    Set the register pointer to SUB, then read N bytes in one
                      sequential read (default 1). Prints them in hex, 16 a line.

  DEV, SUB and DATA are one or two hex digits. DEV is the device's write address
  (the 7-bit address shifted left, e.g. 42); N is decimal, 1 to 32768.

Options:
  --backend auto|sim|ppdev|ioport
                      auto (default): a real parallel port through ppdev when a
                      /dev/parportN exists, else the simulated bus (said on
                      standard error). sim: the simulated bus. ppdev: Linux
                      /dev/parportN. ioport: direct port I/O (root, x86 only).
  --port lpt1|lpt2|lpt3
                      LPT1 (0x378, default), LPT2 (0x278) or LPT3 (0x3BC). On the
                      simulated bus the cable is on the chosen port.
  --sim-device ADDR[,ADDR...]|none
                      Simulated camera sensors by write address in hex
                      (default 42); none for a bus where nothing answers.
  --capture FILE.vcd  Write every change of SCL and SDA during the command as a
                      VCD file (signals scl and sda) for a logic-analyser viewer
                      or sigrok's I2C decoder.
  --trace             Enable the bus debugger and print each trace line on
                      standard error as it is logged.
  --help              Show this text.

Exit status: 0 acknowledged, 1 not acknowledged, 2 bad usage or a port error.
)";
}

}  // namespace brelvion::cli
