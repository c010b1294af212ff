#include "CliOptionTable.h"

#include <array>

#include "PortOptions.h"
#include "ShownArgument.h"
#include "bus/LineControls.h"

namespace brelvion::apps::cli {

namespace {

using apps::shownArgument;

ArgumentError applyPort(std::string_view name, const std::string& value,
                        ScannedArguments& scanned) {
  return apps::applyPortOption(name, value, scanned.session);
}

template <bool SessionOptions::*flag>
ArgumentError setFlag(std::string_view, const std::string&, ScannedArguments& scanned) {
  scanned.session.*flag = true;
  return std::nullopt;
}

ArgumentError applyStepUs(std::string_view, const std::string& value, ScannedArguments& scanned) {
  const auto step = decimal(value);
  if (!step || *step < bus::kShortestStep.count() || *step > bus::kLongestStep.count()) {
    return "--step-us must be a decimal count of microseconds from 5 to 1000, not " +
           shownArgument(value);
  }
  scanned.session.stepUs = *step;
  return std::nullopt;
}

ArgumentError applyStretchTimeout(std::string_view, const std::string& value,
                                  ScannedArguments& scanned) {
  const auto timeout = decimal(value);
  if (!timeout || *timeout < bus::kShortestStretchTimeout.count() ||
      *timeout > bus::kLongestStretchTimeout.count()) {
    return "--stretch-timeout must be a decimal count of milliseconds from 1 to 10000, not " +
           shownArgument(value);
  }
  scanned.session.stretchTimeoutMs = *timeout;
  return std::nullopt;
}

// What the window's two delay fields can hold, read as they read it: 0 to 9.99.
ArgumentError checkDelay(const std::string& value) {
  if (delaySeconds(value)) return std::nullopt;
  return "--delay must be 0 to 9.99 seconds, not " + shownArgument(value);
}

ArgumentError checkRegisterBits(const std::string& value) {
  if (value == "8" || value == "16") return std::nullopt;
  return "--reg-bits must be 8 or 16, not " + shownArgument(value);
}

ArgumentError checkValueBits(const std::string& value) {
  if (value == "8" || value == "16" || value == "32") return std::nullopt;
  return "--value-bits must be 8, 16 or 32, not " + shownArgument(value);
}

ArgumentError checkMinDelay(const std::string& value) {
  if (minDelayMs(value)) return std::nullopt;
  return "--min-delay must be milliseconds from 0 to 3600000 (e.g. 1 or 0.5), not " +
         shownArgument(value);
}

// --device is read by the command that takes it, once --7bit is known.
ArgumentError anyValue(const std::string&) { return std::nullopt; }

ArgumentError checkMap(const std::string& value) {
  return value.empty() ? ArgumentError("--map wants a file name") : std::nullopt;
}
ArgumentError checkScl(const std::string& value) {
  if (!value.empty()) return std::nullopt;
  return "--scl wants the name of the capture's SCL signal";
}
ArgumentError checkSda(const std::string& value) {
  if (!value.empty()) return std::nullopt;
  return "--sda wants the name of the capture's SDA signal";
}
ArgumentError checkOutput(const std::string& value) {
  return value.empty() ? ArgumentError("-o wants a file name") : std::nullopt;
}

template <ArgumentError (*check)(const std::string&)>
ArgumentError keep(std::string_view name, const std::string& value, ScannedArguments& scanned) {
  if (auto error = check(value)) return error;
  scanned.given.set(name, value);
  return std::nullopt;
}

ArgumentError keepFlag(std::string_view name, const std::string&, ScannedArguments& scanned) {
  scanned.given.set(name, {});
  return std::nullopt;
}

const std::array<OptionSpec, 26> kOptions{{
    {"--backend", "auto|sim|ppdev|ioport|i2cdev|gpio",
     "auto (default): a real parallel port through ppdev when a\n"
     "/dev/parportN exists, else the simulated bus (said on\n"
     "standard error); the adapter or the GPIO lines when\n"
     "--port names them. sim: the simulated bus. ppdev: Linux\n"
     "/dev/parportN. ioport: direct port I/O (root, x86 only).\n"
     "i2cdev: the Linux I2C adapter --port names. gpio: the\n"
     "GPIO lines --port names. sim, ppdev and ioport go with\n"
     "an LPT port, i2cdev with an adapter, gpio with GPIO\n"
     "lines; other pairs are refused.\n",
     applyPort},
    {"--port", "lpt1|lpt2|lpt3|i2c-N|/dev/i2c-N|gpio:CHIP:SCL,SDA",
     "LPT1 (0x378, default), LPT2 (0x278) or LPT3 (0x3BC); the\n"
     "I2C adapter /dev/i2c-N; or two lines of a GPIO chip for\n"
     "SCL and SDA, by offset or by name, e.g. gpio:gpiochip0:3,2\n"
     "(ports lists adapters and chips). On the simulated bus\n"
     "the cable is on the chosen LPT port.\n",
     applyPort},
    {"--sim-device", "ADDR[:KIND][,ADDR[:KIND]...]|none",
     "Simulated sensors by write address in hex (default 42);\n"
     "KIND is sensor8 (the camera sensor, the default) or\n"
     "sensor16 (16-bit register addresses, e.g. 20:sensor16);\n"
     "none for a bus where nothing answers.\n",
     applyPort},
    {"--capture", "FILE.vcd",
     "Write every change of SCL and SDA during the command as a\n"
     "VCD file (signals scl and sda) for a logic-analyser viewer\n"
     "or sigrok's I2C decoder. A regular file is replaced only\n"
     "by a complete capture; a FIFO or device is written in\n"
     "place; - is standard output. A place it cannot be written\n"
     "to (no such folder, no permission) is refused before the\n"
     "bus is used; the file is written after the result is\n"
     "printed, and an error writing it follows the result.\n",
     applyPort},
    {"--delay", "SECONDS",
     "send: the extra pause after each write, 0 to 9.99\n"
     "(default 0), on top of the fixed 0.1 s.\n",
     keep<checkDelay>},
    {"--keep-going", "",
     "send FILE.i2cs: go on after a command that is not\n"
     "acknowledged, as command files do (exit status 1).\n",
     keepFlag},
    {"--trace", "",
     "Enable the bus debugger and print each trace line on\n"
     "standard error as it is logged; on an I2C adapter, one\n"
     "line a transfer.\n",
     setFlag<&SessionOptions::trace>},
    {"--transactions", "",
     "Print one line a transaction on standard error, as the\n"
     "debugger's Transactions view shows it, instead of the\n"
     "trace: the milliseconds since the start, the address, W\n"
     "or R, the register, the bytes and ACK or NO ACK.\n",
     setFlag<&SessionOptions::transactions>},
    {"--7bit", "",
     "DEV is a 7-bit address (00 to 7F, e.g. 21), and the\n"
     "addresses printed are 7-bit ones too.\n",
     setFlag<&SessionOptions::sevenBit>},
    {"--repeated-start", "",
     "write, read, dump, a script's reads: the register pointer\n"
     "write and the read after it are one transfer, with a\n"
     "repeated START instead of STOP then START. Off by\n"
     "default: some camera sensors (SCCB) need the STOP.\n"
     "export i2ctransfer writes a read as one line with it.\n",
     setFlag<&SessionOptions::repeatedStart>},
    {"--all", "", "scan: every address from 00 to 7F.\n", keepFlag},
    {"--list", "", "scan: one address a line instead of the grid.\n", keepFlag},
    {"--step-us", "N",
     "Each line step lasts at least N microseconds, 5 to 1000\n"
     "(default 5: I2C standard mode). Slower for long wires or\n"
     "a logic analyser that takes few samples.\n",
     applyStepUs},
    {"--stretch-timeout", "MS",
     "How long a slave may stretch the clock (hold SCL low\n"
     "after the master releases it), 1 to 10000 ms (default\n"
     "25); longer ends the command with error 24. Only where\n"
     "SCL can be read back, as on GPIO lines: the parallel-port\n"
     "cable cannot read SCL, so on it a stretched clock is not\n"
     "waited for.\n",
     applyStretchTimeout},
    {"--reg-bits", "8|16",
     "write, read: register addresses of 8 (default) or 16\n"
     "bits, sent most significant byte first. import: the\n"
     "width where the input does not give it.\n",
     keep<checkRegisterBits>},
    {"--value-bits", "8|16|32",
     "write, read: register values of 8 (default), 16 or 32\n"
     "bits; read's N counts values of that width. import: the\n"
     "width where the input does not give it.\n",
     keep<checkValueBits>},
    {"--le", "",
     "write, read: values least significant byte first (the\n"
     "default is most significant byte first).\n",
     keepFlag},
    {"--map", "FILE",
     "write, read: registers by name from a device description\n"
     "(.yaml) or register list (.csv), which gives their widths\n"
     "and the device address (--reg-bits, --value-bits and --le\n"
     "win over it). read prints the value, its name and fields.\n"
     "read-all, snapshot, diff, write-back: the map they act on.\n",
     keep<checkMap>},
    {"--device", "DEV",
     "import: the device where the input names none (a C\n"
     "table), as DEV is given to write. read-all, snapshot,\n"
     "diff, write-back: the device instead of the map's.\n",
     keep<anyValue>},
    {"--skip-unknown", "",
     "import: name the lines that cannot be converted and\n"
     "write the script without them (exit status 0).\n",
     keepFlag},
    {"--scl", "NAME", "import vcd: the capture's SCL signal (default scl).\n", keep<checkScl>},
    {"--sda", "NAME", "import vcd: the capture's SDA signal (default sda).\n", keep<checkSda>},
    {"--min-delay", "MS",
     "import vcd: a gap between transfers longer than MS\n"
     "milliseconds (default 1) becomes a delay line.\n",
     keep<checkMinDelay>},
    {"--expect", "",
     "import vcd: each read becomes expect lines holding the\n"
     "values the capture shows it returned.\n",
     keepFlag},
    {"--keep-pauses", "",
     "import i2c: keep the 0.1 s pause after each write as\n"
     "delay 100.\n",
     keepFlag},
    {"-o", "OUT",
     "import, export: write into OUT instead of standard\n"
     "output; a regular file is replaced only by a complete\n"
     "one.\n",
     keep<checkOutput>},
}};

}  // namespace

std::span<const OptionSpec> optionTable() { return kOptions; }

}  // namespace brelvion::apps::cli
