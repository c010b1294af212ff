#include "GuiArguments.h"

#include "QtOptions.h"
#include "ShownArgument.h"
#include "numconv/HexText.h"
#include "port/LptRegisters.h"

namespace brelvion::apps::gui {

ParsedGuiArguments parseGuiArguments(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") return HelpRequest{};
    if (arg == "--version") return VersionRequest{};
  }
  GuiRequest request;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (const auto qt = qtOptionAt(args, i)) {
      if (qt->valueMissing) return UsageError{arg + " wants a value"};
      if (qt->name == "platform") request.qtPlatform = qt->value;
      if (qt->name == "display") request.qtDisplay = qt->value;
      i += qt->length - 1;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    if (!apps::isPortOption(name)) {
      return UsageError{arg.rfind('-', 0) == 0 ? "unknown option " + apps::shownArgument(name)
                                               : "unexpected argument " + apps::shownArgument(arg)};
    }
    std::string value;
    if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return UsageError{name + " wants a value"};
    }
    if (auto error = apps::applyPortOption(name, value, request)) return UsageError{*error};
  }
  if (auto problem = apps::portOptionsProblem(request)) return UsageError{*problem};
  return request;
}

std::string busNoticeText(core::PortBackend backend,
                          const simulator::SimulatedBusConfig& simulation) {
  switch (backend) {
    case core::PortBackend::Ppdev:
      return "Parallel port through /dev/parport (ppdev)";
    case core::PortBackend::IoPort:
      return "Parallel port through direct port I/O";
    default:
      break;
  }
  const auto& sensors = simulation.sensorAddresses;
  const auto& wide = simulation.sensor16Addresses;
  if (sensors.empty() && wide.empty()) return "Simulated bus: no device";
  auto listed = [](const std::vector<std::uint8_t>& addresses, const char* one,
                   const char* several) {
    std::string text = addresses.size() == 1 ? one : several;
    for (std::size_t i = 0; i < addresses.size(); ++i) {
      text += (i == 0 ? " " : ", ") + numconv::upperHex(addresses[i], 2) + "h";
    }
    return text;
  };
  std::string text = "Simulated bus: ";
  if (!sensors.empty()) text += listed(sensors, "camera sensor at", "camera sensors at");
  if (!sensors.empty() && !wide.empty()) text += "; ";
  if (!wide.empty()) text += listed(wide, "16-bit sensor at", "16-bit sensors at");
  return text;
}

std::string guiUsageText() {
  return R"(Usage: brelvion-i2c [options]

The Brelvion I2C Debug Tool: write and read camera sensor registers over an I2C
bus driven bit by bit through a PC parallel port or two GPIO lines, or through a
Linux I2C adapter (a USB bridge, an SoC's bus), send command files, scan the
bus, and watch every bus step in the Wisp bus debugger.

Options:
  --backend auto|sim|ppdev|ioport|i2cdev|gpio
                      auto (default): a real parallel port through ppdev when a
                      /dev/parportN exists, else the simulated bus (the status
                      line says which); the adapter or the GPIO lines when
                      --port names them. sim: the simulated bus. ppdev: Linux
                      /dev/parportN. ioport: direct port I/O (root, x86 only).
                      i2cdev: the Linux I2C adapter --port names. gpio: the
                      GPIO lines --port names. sim, ppdev and ioport go with an
                      LPT port, i2cdev with an adapter, gpio with GPIO lines;
                      other pairs are refused. With an adapter or GPIO lines,
                      the LPT rows of the port list use what auto finds.
  --port lpt1|lpt2|lpt3|i2c-N|/dev/i2c-N|gpio:CHIP:SCL,SDA
                      The port the bus is opened on at start-up: LPT1 (0x378,
                      default), LPT2 (0x278) or LPT3 (0x3BC), the I2C adapter
                      /dev/i2c-N, or two lines of a GPIO chip for SCL and SDA,
                      by offset or by name (gpio:gpiochip0:3,2). On the
                      simulated bus the cable is on the LPT port. The port list
                      in the window changes the port later; after the LPT rows
                      it has a row for the GPIO lines given here and one for
                      every I2C adapter found.
  --sim-device ADDR[:KIND][,ADDR[:KIND]...]|none
                      Simulated sensors by write address in hex (default 42);
                      KIND is sensor8 (the camera sensor, the default) or
                      sensor16 (16-bit register addresses, e.g. 20:sensor16);
                      none for a bus where nothing answers.
  --capture FILE.vcd  Record every change of SCL and SDA of the start-up's port
                      (an LPT port or GPIO lines) from the end of the start-up's
                      bus clear until the program ends, and write it then as a
                      VCD file (signals scl and sda) for a logic-analyser viewer
                      or sigrok's I2C decoder.
  --version           Show the program's version.
  --help              Show this text.

Qt's own options (-platform, -style, -display, ...) are accepted as well.
Without a display ($DISPLAY or $WAYLAND_DISPLAY) the windows cannot open:
-platform offscreen runs them unseen, and brelvion-i2c-cli offers the same
commands without windows.
)";
}

}  // namespace brelvion::apps::gui
