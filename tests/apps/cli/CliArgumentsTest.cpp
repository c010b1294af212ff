#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

#include "CliArguments.h"

namespace brelvion::apps::cli {
namespace {

ParsedArguments parse(std::vector<std::string> args) { return parseArguments(args); }

// The command's own request, of the type Command; std::get fails the test for another.
template <typename Command>
Command commandOf(std::vector<std::string> args) {
  return std::get<Command>(std::get<CliRequest>(parse(std::move(args))).command);
}

std::string usageError(std::vector<std::string> args) {
  const ParsedArguments parsed = parse(std::move(args));
  const auto* error = std::get_if<UsageError>(&parsed);
  return error != nullptr ? error->message : "(accepted)";
}

TEST(CliArgumentsTest, WriteAndReadTakeHexFieldsAndADecimalCount) {
  const auto write = commandOf<WriteRequest>({"write", "42", "1a", "F"});
  EXPECT_EQ(write.device, 0x42);
  EXPECT_EQ(write.subAddress, 0x1A);
  EXPECT_EQ(write.data, 0x0F);

  const auto read = commandOf<ReadRequest>({"read", "42", "00"});
  EXPECT_EQ(read.count, 1);
  EXPECT_EQ(commandOf<ReadRequest>({"read", "42", "00", "32768"}).count, 32768);
}

TEST(CliArgumentsTest, OptionsInEitherFormAndPosition) {
  const auto request =
      std::get<CliRequest>(parse({"--backend=sim", "--port", "lpt3", "read", "42", "0",
                                  "--sim-device", "42,30", "--trace", "--capture=bus.vcd"}));
  EXPECT_EQ(request.backend, core::PortBackend::Simulated);
  EXPECT_EQ(request.port, port::PortChoice::lpt(2));
  EXPECT_EQ(request.simulatedDevices, (std::vector<std::uint8_t>{0x42, 0x30}));
  EXPECT_TRUE(request.trace);
  EXPECT_EQ(request.capturePath, "bus.vcd");
  EXPECT_TRUE(std::get<CliRequest>(parse({"--sim-device", "none", "read", "42", "0"}))
                  .simulatedDevices.empty());
  EXPECT_TRUE(std::holds_alternative<HelpRequest>(parse({"write", "--help"})));
  EXPECT_TRUE(std::holds_alternative<VersionRequest>(parse({"--version"})));
  EXPECT_TRUE(std::holds_alternative<VersionRequest>(parse({"read", "42", "0", "--version"})));
}

// Each message word for word, as the program prints it after its name.
TEST(CliArgumentsTest, BadInputIsNamedInTheError) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{}, "no command given (use write, read, send, dump, scan, ports, recover, import or export; "
           "--help explains)"},
      {{"poke", "42"},
       "unknown command 'poke' (use write, read, send, dump, scan, ports, recover, import or "
       "export)"},
      {{"recover", "42"}, "recover takes no arguments"},
      {{"write", "42", "00"}, "write wants DEV SUB DATA"},
      {{"read", "42"}, "read wants DEV SUB [N]"},
      {{"send"}, "send wants FILE"},
      {{"dump", "42", "1"}, "dump wants DEV LAST FILE"},
      {{"write", "4G", "00", "00"}, "DEV must be one or two hex digits, not '4G'"},
      {{"write", "42", "100", "00"}, "SUB must be one or two hex digits, not '100'"},
      {{"write", "42", "00", ""}, "DATA must be one or two hex digits, not ''"},
      {{"write", "42", "00", "0x1"}, "DATA must be one or two hex digits, not '0x1'"},
      {{"read", "42", "00", "0"}, "N must be a decimal count from 1 to 32768, not '0'"},
      {{"read", "42", "00", "32769"}, "N must be a decimal count from 1 to 32768, not '32769'"},
      {{"read", "42", "00", "1e3"}, "N must be a decimal count from 1 to 32768, not '1e3'"},
      {{"read", "42", "00", "-5"}, "N must be a decimal count from 1 to 32768, not '-5'"},
      {{"dump", "42", "32768", "f"},
       "LAST must be a decimal register number from 0 to 32767, not '32768'"},
      {{"--backend", "usb", "read", "42", "0"},
       "--backend must be auto, sim, ppdev, ioport, i2cdev or gpio, not 'usb'"},
      {{"--port", "lpt4", "read", "42", "0"},
       "--port must be lpt1, lpt2, lpt3, i2c-N, /dev/i2c-N or gpio:CHIP:SCL,SDA, not 'lpt4'"},
      {{"--sim-device", "42,", "read", "42", "0"},
       "--sim-device wants write addresses in hex (one or two digits) or 'none', not ''"},
      {{"--delay", "10", "send", "a.i2c"}, "--delay must be 0 to 9.99 seconds, not '10'"},
      {{"--verbose", "read", "42", "0"}, "unknown option '--verbose' (--help lists them)"},
      {{"-v", "read", "42", "0"}, "unknown option '-v' (--help lists them)"},
      {{"read", "-x", "42", "0"}, "unknown option '-x' (--help lists them)"},
      {{"--trace=1", "read", "42", "0"}, "--trace takes no value"},
      {{"--help=all"}, "--help takes no value"},
      {{"--version=2"}, "--version takes no value"},
      {{"--", "--version"},
       "unknown command '--version' (use write, read, send, dump, scan, ports, recover, "
       "import or export)"},
      {{"--step-us", "4", "recover"},
       "--step-us must be a decimal count of microseconds from 5 to 1000, not '4'"},
      {{"--step-us=1001", "recover"},
       "--step-us must be a decimal count of microseconds from 5 to 1000, not '1001'"},
      {{"--step-us", "5.5", "recover"},
       "--step-us must be a decimal count of microseconds from 5 to 1000, not '5.5'"},
      {{"--stretch-timeout", "0", "recover"},
       "--stretch-timeout must be a decimal count of milliseconds from 1 to 10000, not '0'"},
      {{"--stretch-timeout", "10001", "recover"},
       "--stretch-timeout must be a decimal count of milliseconds from 1 to 10000, not "
       "'10001'"},
      {{"read", "42", "0", "--capture"}, "--capture wants a value"},
      {{"--capture=", "read", "42", "0"}, "--capture wants a file name"},
      {{"--port", "i2c-01", "read", "42", "0"},
       "--port must be lpt1, lpt2, lpt3, i2c-N, /dev/i2c-N or gpio:CHIP:SCL,SDA, not 'i2c-01'"},
      {{"--backend", "sim", "--port", "i2c-3", "read", "42", "0"},
       "--port i2c-3 is an i2c-dev adapter: use --backend i2cdev or auto, not sim"},
      {{"--backend", "i2cdev", "read", "42", "0"},
       "--backend i2cdev wants an adapter: --port i2c-N or /dev/i2c-N, not lpt1"},
      {{"--port", "/dev/i2c-3", "--capture", "a.vcd", "read", "42", "0"},
       "--capture records the SCL and SDA lines the tool drives itself; i2c-3 is an adapter "
       "that drives its own"},
      {{"--7bit", "read", "80", "0"}, "DEV must be a 7-bit address with --7bit, 0 to 7F, not '80'"},
      {{"--list", "read", "42", "0"}, "--all and --list go with scan"},
      {{"write", "42", "0", "0", "--all"}, "--all and --list go with scan"},
      {{"scan", "42"}, "scan takes no arguments"},
      {{"ports", "all"}, "ports takes no arguments"},
      {{"--7bit=1", "scan"}, "--7bit takes no value"},
      {{"--port", "gpio:gpiochip0:3", "read", "42", "0"},
       "--port 'gpio:gpiochip0:3': two lines are needed, SCL then SDA, with a comma between: "
       "gpio:CHIP:SCL,SDA (for example gpio:gpiochip0:3,2)"},
      {{"--port", "gpio:gpiochip0:2,2", "read", "42", "0"},
       "--port 'gpio:gpiochip0:2,2': SCL and SDA must be two different lines"},
      {{"--backend", "ppdev", "--port", "gpio:gpiochip0:3,2", "read", "42", "0"},
       "--port 'gpio:gpiochip0:3,2' is a pair of GPIO lines: use --backend gpio or auto, not "
       "ppdev"},
      {{"--backend", "i2cdev", "--port", "gpio:0:3,2", "scan"},
       "--port 'gpio:0:3,2' is a pair of GPIO lines: use --backend gpio or auto, not i2cdev"},
      {{"--backend", "gpio", "--port", "i2c-3", "scan"},
       "--port i2c-3 is an i2c-dev adapter: use --backend i2cdev or auto, not gpio"},
      {{"--backend", "gpio", "--port", "lpt2", "scan"},
       "--backend gpio wants GPIO lines: --port gpio:CHIP:SCL,SDA, not lpt2"},
      // Of two refusals, the one a command's arguments and scan's options raise comes first,
      // then the port's, then the other options'.
      {{"--list", "--port", "i2c-3", "--backend", "sim", "read", "4G", "0"},
       "DEV must be one or two hex digits, not '4G'"},
      {{"--list", "--port", "i2c-3", "--backend", "sim", "read", "42", "0"},
       "--all and --list go with scan"},
      {{"-o", "x", "--port", "i2c-3", "--backend", "sim", "read", "42", "0"},
       "--port i2c-3 is an i2c-dev adapter: use --backend i2cdev or auto, not sim"},
      {{"--keep-going", "-o", "x", "--reg-bits", "16", "dump", "42", "1", "-"},
       "--reg-bits, --value-bits, --le and --map are for write and read; send and dump keep to "
       "one-byte registers"},
  };
  for (const auto& [args, expected] : cases) EXPECT_EQ(usageError(args), expected);
}

TEST(CliArgumentsTest, ScanPortsAndTheirOptions) {
  const auto scan = std::get<CliRequest>(parse({"scan", "--all", "--list", "--7bit"}));
  const auto& scanned = std::get<ScanRequest>(scan.command);
  EXPECT_TRUE(scanned.all && scanned.list && scan.sevenBit);
  EXPECT_TRUE(std::holds_alternative<PortsRequest>(std::get<CliRequest>(parse({"ports"})).command));

  const auto adapter = std::get<CliRequest>(
      parse({"--port", "/dev/i2c-3", "--repeated-start", "read", "21", "00", "--7bit"}));
  EXPECT_EQ(adapter.port, port::PortChoice::i2cDev(3));
  EXPECT_TRUE(adapter.onAdapter());
  EXPECT_TRUE(adapter.repeatedStart);
  EXPECT_EQ(std::get<ReadRequest>(adapter.command).device, 0x42)
      << "DEV is kept as the 8-bit write address";
  EXPECT_EQ(std::get<CliRequest>(parse({"--backend", "i2cdev", "--port", "i2c-0", "scan"})).backend,
            core::PortBackend::I2cDev);
}

TEST(CliArgumentsTest, GpioLinesAreAPortOfTheirOwnThatAutoOrGpioTakes) {
  for (const char* backend : {"auto", "gpio"}) {
    const auto gpio = std::get<CliRequest>(parse(
        {"--backend", backend, "--port", "gpio:gpiochip0:GPIO3,GPIO2", "--capture", "a.vcd",
         "recover"}));
    ASSERT_NE(gpio.port.gpioLines(), nullptr);
    EXPECT_EQ(gpio.port.gpioLines()->chip, "gpiochip0");
    EXPECT_EQ(gpio.port.gpioLines()->scl.name, "GPIO3");
    EXPECT_TRUE(gpio.onGpioLines());
    EXPECT_FALSE(gpio.onAdapter());
    EXPECT_EQ(gpio.capturePath, "a.vcd") << "GPIO lines are the tool's own to record";
  }
}

TEST(CliArgumentsTest, RecoverAndTheLineControls) {
  const auto recover = std::get<CliRequest>(parse({"recover"}));
  EXPECT_TRUE(std::holds_alternative<RecoverRequest>(recover.command));
  EXPECT_FALSE(recover.stepUs);
  EXPECT_FALSE(recover.stretchTimeoutMs);

  const auto slow =
      std::get<CliRequest>(parse({"--step-us=1000", "read", "42", "0", "--stretch-timeout", "1"}));
  EXPECT_EQ(slow.stepUs, 1000);
  EXPECT_EQ(slow.stretchTimeoutMs, 1);
  const auto fast = std::get<CliRequest>(parse({"--step-us", "5", "--stretch-timeout=10000",
                                                "recover"}));
  EXPECT_EQ(fast.stepUs, 5);
  EXPECT_EQ(fast.stretchTimeoutMs, 10000);
}

TEST(CliArgumentsTest, DoubleDashEndsTheOptions) {
  const auto request = std::get<CliRequest>(parse({"--backend", "sim", "--", "read", "42", "00"}));
  EXPECT_TRUE(std::holds_alternative<ReadRequest>(request.command));
  EXPECT_EQ(request.backend, core::PortBackend::Simulated);
  EXPECT_EQ(usageError({"--", "read", "42", "00", "--help"}),
            "N must be a decimal count from 1 to 32768, not '--help'");
  EXPECT_TRUE(std::holds_alternative<HelpRequest>(parse({"-h"})));
}

TEST(CliArgumentsTest, EchoedArgumentsAreCutAndHaveTheirControlCharactersEscaped) {
  const std::string hostile = "poke\x1b[2J\r\n" + std::string(500, 'A');
  const std::string message = usageError({hostile});
  EXPECT_EQ(message.rfind("unknown command 'poke\\x1B[2J\\x0D\\x0AAAA", 0), 0u) << message;
  EXPECT_NE(message.find("...' (use write, read, send, dump, scan, ports, recover, import or export)"),
            std::string::npos)
      << message;
  EXPECT_LT(message.size(), 140u);
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
       {"-h, --help", "--version", "--trace", "--capture", "  --  ", "after", "recover",
        "--step-us", "--stretch-timeout", "--keep-going", "-o OUT", "import FORMAT IN"}) {
    EXPECT_NE(usageText().find(listed), std::string::npos) << listed;
  }
}

// The whole help, word for word (expected-help.txt): scripts' authors read it, and a line
// changed by accident would otherwise go unnoticed as long as the names above are still in it.
TEST(CliArgumentsTest, TheHelpTextWordForWord) {
  std::ifstream expected(BRELVION_CLI_TEST_DIR "/expected-help.txt", std::ios::binary);
  ASSERT_TRUE(expected) << "expected-help.txt is missing";
  EXPECT_EQ(usageText(), std::string(std::istreambuf_iterator<char>(expected), {}));
}

}  // namespace
}  // namespace brelvion::apps::cli
