#include <gtest/gtest.h>

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
  EXPECT_EQ(request.backend, port::PortBackend::Simulated);
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
            port::PortBackend::I2cDev);
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
  EXPECT_EQ(request.backend, port::PortBackend::Simulated);
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

// The whole help, word for word: scripts' authors read it, and a line changed by accident
// would otherwise go unnoticed as long as the names above are still in it.
TEST(CliArgumentsTest, TheHelpTextWordForWord) {
  EXPECT_EQ(usageText(), R"(Usage: brelvion-i2c-cli [options] write DEV SUB DATA
       brelvion-i2c-cli [options] read DEV SUB [N]
       brelvion-i2c-cli [options] send FILE
       brelvion-i2c-cli [options] dump DEV LAST FILE
       brelvion-i2c-cli [options] scan
       brelvion-i2c-cli [options] ports
       brelvion-i2c-cli [options] recover
       brelvion-i2c-cli [options] import FORMAT IN
       brelvion-i2c-cli [options] export FORMAT IN
       brelvion-i2c-cli [options] read-all
       brelvion-i2c-cli [options] snapshot OUT
       brelvion-i2c-cli [options] diff A [B]
       brelvion-i2c-cli [options] write-back SNAPSHOT

Drives an I2C bus bit by bit through a PC parallel port or two GPIO lines, as
the Brelvion I2C Debug Tool does, or through a Linux I2C adapter (/dev/i2c-N: a
USB bridge, an SoC's bus), for scripts and quick checks without its windows.

Commands:
  write DEV SUB DATA  Write DATA to register SUB of device DEV, then read the
                      register back. Prints the byte read back in hex and ACK or
                      NO ACK (the acknowledge of the read's address byte).
  read DEV SUB [N]    Set the register pointer to SUB, then read N bytes in one
                      sequential read (default 1), printed in hex, 16 a line.
  send FILE           Send a command file as Send File does: three hex values
                      a write (device, register, data), ';' starts a comment.
                      Pauses 0.1 s plus --delay after each write. Prints one
                      line a write: DEV SUB DATA and ACK or NO ACK (the data
                      byte's), DEV as sent (bit 0 cleared). A bring-up script
                      (FILE.i2cs) is checked whole first, then run: one line a
                      bus command (20 0103 01 ACK, 20 0000 = B716 OK, 20 0005
                      = 01 after 5 ms); a NO ACK stops it unless --keep-going,
                      a failed poll or expect always, with FILE:LINE. - is
                      standard input, a script when it starts with a command.
  dump DEV LAST FILE  Read registers 0 to LAST of DEV and write them to FILE
                      as Dump to File does: one line a register, read address,
                      register and value in hex. FILE is replaced only by a
                      complete dump; - is standard output.
  scan                Probe every address from 08 to 77 (7-bit; --all: 00 to
                      7F) as i2cdetect does, and print those that answered in
                      its grid, as 8-bit write addresses (--7bit: 7-bit ones),
                      or one a line with --list. On a parallel port it first
                      checks that SDA reads high with both lines released.
  ports               List the parallel ports, I2C adapters and GPIO chips
                      found, what each adapter can do, how many lines each chip
                      has, and what --backend auto picks.
  recover             Free a bus a slave holds: while SDA reads low, up to nine
                      clock pulses, then a STOP. Prints whether the bus is free
                      and after how many pulses. Unlike the other commands it
                      does not start with the six-pulse bus clear.
  import FORMAT IN    Convert IN into a bring-up script, on standard output or
                      into -o OUT. FORMAT: c (a driver's register table),
                      i2ctransfer, xml (an adapter's batch file), vcd (a
                      capture of SCL and SDA) or i2c (a command file). A line
                      that cannot be converted is named with its line number
                      and nothing is written (--skip-unknown: written without
                      it).
  export FORMAT IN    Write the bring-up script IN as c, i2ctransfer, xml or
                      i2c, on standard output or into -o OUT. A command the
                      format cannot express is named with its line.
  read-all            With --map FILE: read every register of the map that may
                      be read, contiguous ones in one sequential read each, and
                      print a line a register (address, name, value; -- when
                      not read), its bit fields below it.
  snapshot OUT        With --map FILE: read all, then write the values to OUT
                      as a register snapshot (.snap). OUT is replaced only by
                      a complete snapshot, and not at all when a read is not
                      acknowledged; - is standard output.
  diff A [B]          Compare snapshot A with snapshot B, or (with --map FILE)
                      with the device's values read now; print a line a
                      difference, A's value first (0100 MODE_SELECT: 00 -> 01).
                      Exit status 1 when they differ.
  write-back SNAPSHOT
                      With --map FILE: write the snapshot's values to the
                      map's writable registers of the same address and width,
                      in address order, then read all again and print it as
                      read-all does.

  DEV, SUB and DATA are one or two hex digits. DEV is the device's write address
  (the 7-bit address shifted left, e.g. 42; with --7bit the 7-bit address, e.g.
  21); N is decimal, 1 to 32768; LAST is decimal, 0 to 32767. With --reg-bits
  16, SUB takes up to 4 hex digits; with --value-bits 16 or 32, DATA takes up to
  4 or 8; ACK then means that every message of the command was acknowledged.

  With --map, write and read name the register:
    brelvion-i2c-cli --map FILE [options] write [DEV] NAME DATA
    brelvion-i2c-cli --map FILE [options] read [DEV] NAME
  DEV, when given, is used in place of the description's i2c-address; for
  read-all, snapshot, diff and write-back, --device DEV is.

Options:
  --backend auto|sim|ppdev|ioport|i2cdev|gpio
                      auto (default): a real parallel port through ppdev when a
                      /dev/parportN exists, else the simulated bus (said on
                      standard error); the adapter or the GPIO lines when
                      --port names them. sim: the simulated bus. ppdev: Linux
                      /dev/parportN. ioport: direct port I/O (root, x86 only).
                      i2cdev: the Linux I2C adapter --port names. gpio: the
                      GPIO lines --port names. sim, ppdev and ioport go with
                      an LPT port, i2cdev with an adapter, gpio with GPIO
                      lines; other pairs are refused.
  --port lpt1|lpt2|lpt3|i2c-N|/dev/i2c-N|gpio:CHIP:SCL,SDA
                      LPT1 (0x378, default), LPT2 (0x278) or LPT3 (0x3BC); the
                      I2C adapter /dev/i2c-N; or two lines of a GPIO chip for
                      SCL and SDA, by offset or by name, e.g. gpio:gpiochip0:3,2
                      (ports lists adapters and chips). On the simulated bus
                      the cable is on the chosen LPT port.
  --sim-device ADDR[:KIND][,ADDR[:KIND]...]|none
                      Simulated sensors by write address in hex (default 42);
                      KIND is sensor8 (the camera sensor, the default) or
                      sensor16 (16-bit register addresses, e.g. 20:sensor16);
                      none for a bus where nothing answers.
  --capture FILE.vcd  Write every change of SCL and SDA during the command as a
                      VCD file (signals scl and sda) for a logic-analyser viewer
                      or sigrok's I2C decoder. A regular file is replaced only
                      by a complete capture; a FIFO or device is written in
                      place; - is standard output. A place it cannot be written
                      to (no such folder, no permission) is refused before the
                      bus is used; the file is written after the result is
                      printed, and an error writing it follows the result.
  --delay SECONDS     send: the extra pause after each write, 0 to 9.99
                      (default 0), on top of the fixed 0.1 s.
  --keep-going        send FILE.i2cs: go on after a command that is not
                      acknowledged, as command files do (exit status 1).
  --trace             Enable the bus debugger and print each trace line on
                      standard error as it is logged; on an I2C adapter, one
                      line a transfer.
  --transactions      Print one line a transaction on standard error, as the
                      debugger's Transactions view shows it, instead of the
                      trace: the milliseconds since the start, the address, W
                      or R, the register, the bytes and ACK or NO ACK.
  --7bit              DEV is a 7-bit address (00 to 7F, e.g. 21), and the
                      addresses printed are 7-bit ones too.
  --repeated-start    write, read, dump, a script's reads: the register pointer
                      write and the read after it are one transfer, with a
                      repeated START instead of STOP then START. Off by
                      default: some camera sensors (SCCB) need the STOP.
                      export i2ctransfer writes a read as one line with it.
  --all               scan: every address from 00 to 7F.
  --list              scan: one address a line instead of the grid.
  --step-us N         Each line step lasts at least N microseconds, 5 to 1000
                      (default 5: I2C standard mode). Slower for long wires or
                      a logic analyser that takes few samples.
  --stretch-timeout MS
                      How long a slave may stretch the clock (hold SCL low
                      after the master releases it), 1 to 10000 ms (default
                      25); longer ends the command with error 24. Only where
                      SCL can be read back, as on GPIO lines: the parallel-port
                      cable cannot read SCL, so on it a stretched clock is not
                      waited for.
  --reg-bits 8|16     write, read: register addresses of 8 (default) or 16
                      bits, sent most significant byte first. import: the
                      width where the input does not give it.
  --value-bits 8|16|32
                      write, read: register values of 8 (default), 16 or 32
                      bits; read's N counts values of that width. import: the
                      width where the input does not give it.
  --le                write, read: values least significant byte first (the
                      default is most significant byte first).
  --map FILE          write, read: registers by name from a device description
                      (.yaml) or register list (.csv), which gives their widths
                      and the device address (--reg-bits, --value-bits and --le
                      win over it). read prints the value, its name and fields.
                      read-all, snapshot, diff, write-back: the map they act on.
  --device DEV        import: the device where the input names none (a C
                      table), as DEV is given to write. read-all, snapshot,
                      diff, write-back: the device instead of the map's.
  --skip-unknown      import: name the lines that cannot be converted and
                      write the script without them (exit status 0).
  --scl NAME          import vcd: the capture's SCL signal (default scl).
  --sda NAME          import vcd: the capture's SDA signal (default sda).
  --min-delay MS      import vcd: a gap between transfers longer than MS
                      milliseconds (default 1) becomes a delay line.
  --expect            import vcd: each read becomes expect lines holding the
                      values the capture shows it returned.
  --keep-pauses       import i2c: keep the 0.1 s pause after each write as
                      delay 100.
  -o OUT              import, export: write into OUT instead of standard
                      output; a regular file is replaced only by a complete
                      one.
  --version           Show the program's version.
  -h, --help          Show this text.
  --                  End of the options: what follows is the command.

Exit status:
  0    acknowledged (for send: every write; for scan: something
       answered; for recover: the bus is free; for diff: no differences)
  1    not acknowledged (for scan: nothing answered; for recover: still
       held); for diff: the snapshots or the device differ
  2    bad usage, a port error, SDA held low, a command file, map or
       snapshot that could not be read, or a dump, snapshot, capture or
       standard output that could not be written; for a script also a
       failed poll or expect, or a script with problems, and for import
       and export a line that cannot be converted
)");
}

}  // namespace
}  // namespace brelvion::apps::cli
