#include <gtest/gtest.h>

#include <sstream>

#include "CliArguments.h"

namespace brelvion::cli {
namespace {

ParsedArguments parse(std::vector<std::string> args) { return parseArguments(args); }

std::string usageError(std::vector<std::string> args) {
  const ParsedArguments parsed = parse(std::move(args));
  const auto* error = std::get_if<UsageError>(&parsed);
  return error != nullptr ? error->message : "(accepted)";
}

TEST(CliArgumentsTest, WriteAndReadTakeHexFieldsAndADecimalCount) {
  const auto write = std::get<CliRequest>(parse({"write", "42", "1a", "F"}));
  EXPECT_EQ(write.command, Command::Write);
  EXPECT_EQ(write.device, 0x42);
  EXPECT_EQ(write.subAddress, 0x1A);
  EXPECT_EQ(write.data, 0x0F);

  const auto read = std::get<CliRequest>(parse({"read", "42", "00"}));
  EXPECT_EQ(read.command, Command::Read);
  EXPECT_EQ(read.count, 1);
  EXPECT_EQ(std::get<CliRequest>(parse({"read", "42", "00", "32768"})).count, 32768);
}

TEST(CliArgumentsTest, OptionsInEitherFormAndPosition) {
  const auto request =
      std::get<CliRequest>(parse({"--backend=sim", "--port", "lpt3", "read", "42", "0",
                                  "--sim-device", "42,30", "--trace", "--capture=bus.vcd"}));
  EXPECT_EQ(request.backend, platform::PortBackend::Simulated);
  EXPECT_EQ(request.portIndex, 2);
  EXPECT_EQ(request.simulatedDevices, (std::vector<std::uint8_t>{0x42, 0x30}));
  EXPECT_TRUE(request.trace);
  EXPECT_EQ(request.capturePath, "bus.vcd");
  EXPECT_TRUE(std::get<CliRequest>(parse({"--sim-device", "none", "read", "42", "0"}))
                  .simulatedDevices.empty());
  EXPECT_TRUE(std::holds_alternative<HelpRequest>(parse({"write", "--help"})));
  EXPECT_TRUE(std::holds_alternative<VersionRequest>(parse({"--version"})));
  EXPECT_TRUE(std::holds_alternative<VersionRequest>(parse({"read", "42", "0", "--version"})));
}

TEST(CliArgumentsTest, BadInputIsNamedInTheError) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{}, "no command given"},
      {{"poke", "42"}, "unknown command 'poke'"},
      {{"write", "42", "00"}, "write wants DEV SUB DATA"},
      {{"write", "4G", "00", "00"}, "DEV must be one or two hex digits, not '4G'"},
      {{"write", "42", "100", "00"}, "SUB must be one or two hex digits, not '100'"},
      {{"write", "42", "00", ""}, "DATA must be one or two hex digits, not ''"},
      {{"write", "42", "00", "0x1"}, "not '0x1'"},
      {{"read", "42", "00", "0"}, "from 1 to 32768, not '0'"},
      {{"read", "42", "00", "32769"}, "not '32769'"},
      {{"read", "42", "00", "1e3"}, "not '1e3'"},
      {{"read", "42", "00", "-5"}, "not '-5'"},
      {{"--backend", "usb", "read", "42", "0"}, "--backend must be auto, sim, ppdev or ioport"},
      {{"--port", "lpt4", "read", "42", "0"}, "--port must be lpt1, lpt2 or lpt3"},
      {{"--sim-device", "42,", "read", "42", "0"}, "not ''"},
      {{"--verbose", "read", "42", "0"}, "unknown option '--verbose'"},
      {{"-v", "read", "42", "0"}, "unknown option '-v'"},
      {{"read", "-x", "42", "0"}, "unknown option '-x'"},
      {{"--trace=1", "read", "42", "0"}, "--trace takes no value"},
      {{"--help=all"}, "--help takes no value"},
      {{"--version=2"}, "--version takes no value"},
      {{"--", "--version"}, "unknown command '--version'"},
      {{"read", "42", "0", "--capture"}, "--capture wants a value"},
  };
  for (const auto& [args, expected] : cases) {
    EXPECT_NE(usageError(args).find(expected), std::string::npos)
        << "got: " << usageError(args) << "\nwanted: " << expected;
  }
}

TEST(CliArgumentsTest, DoubleDashEndsTheOptions) {
  const auto request = std::get<CliRequest>(parse({"--backend", "sim", "--", "read", "42", "00"}));
  EXPECT_EQ(request.command, Command::Read);
  EXPECT_EQ(request.backend, platform::PortBackend::Simulated);
  EXPECT_EQ(usageError({"--", "read", "42", "00", "--help"}),
            "N must be a decimal count from 1 to 32768, not '--help'");
  EXPECT_TRUE(std::holds_alternative<HelpRequest>(parse({"-h"})));
}

TEST(CliArgumentsTest, EchoedArgumentsAreCutAndHaveTheirControlCharactersEscaped) {
  const std::string hostile = "poke\x1b[2J\r\n" + std::string(500, 'A');
  const std::string message = usageError({hostile});
  EXPECT_EQ(message.rfind("unknown command 'poke\\x1B[2J\\x0D\\x0AAAA", 0), 0u) << message;
  EXPECT_NE(message.find("...' (use write, read, send or dump)"), std::string::npos) << message;
  EXPECT_LT(message.size(), 100u);
  for (char ch : message) EXPECT_GE(static_cast<unsigned char>(ch), 0x20);

  // Not cut inside a UTF-8 character.
  std::string accents;
  for (int i = 0; i < 30; ++i) accents += "\xC3\xA9";
  // Built by appending: "'" + a temporary string trips GCC 12's -Wrestrict at -O3.
  const auto cut = [](std::string_view kept) {
    std::string text = "'";
    text.append(kept).append("...'");
    return text;
  };
  const std::string withLetter = "A" + accents;
  EXPECT_EQ(shownArgument(accents), cut(accents.substr(0, 40)));
  EXPECT_EQ(shownArgument(accents.substr(0, 41)), cut(accents.substr(0, 40)));
  EXPECT_EQ(shownArgument(withLetter), cut(withLetter.substr(0, 39)));
  EXPECT_EQ(shownArgument("short"), "'short'");
}

TEST(CliArgumentsTest, HelpFitsEightyColumnsAndNamesEveryOption) {
  std::istringstream lines(usageText());
  for (std::string line; std::getline(lines, line);) {
    EXPECT_LE(line.size(), 80u) << line;
  }
  for (const char* listed :
       {"-h, --help", "--version", "--trace", "--capture", "  --  ", "after"}) {
    EXPECT_NE(usageText().find(listed), std::string::npos) << listed;
  }
}

}  // namespace
}  // namespace brelvion::cli
