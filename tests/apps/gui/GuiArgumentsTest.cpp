#include <gtest/gtest.h>

#include <sstream>

#include "GuiArguments.h"

namespace brelvion::apps::gui {
namespace {

using core::PortBackend;

GuiRequest requestOf(const std::vector<std::string>& args) {
  const ParsedGuiArguments parsed = parseGuiArguments(args);
  if (const auto* error = std::get_if<UsageError>(&parsed)) ADD_FAILURE() << error->message;
  return std::get<GuiRequest>(parsed);
}

std::string errorOf(const std::vector<std::string>& args) {
  const ParsedGuiArguments parsed = parseGuiArguments(args);
  const auto* error = std::get_if<UsageError>(&parsed);
  return error ? error->message : "no error";
}

TEST(GuiArgumentsTest, WithoutOptionsTheToolChoosesItsBackendAndSimulatesASensorAt42) {
  const GuiRequest request = requestOf({});
  EXPECT_EQ(request.backend, PortBackend::Auto);
  EXPECT_EQ(request.port, port::PortChoice::lpt(0));
  EXPECT_EQ(request.simulatedDevices, (std::vector<std::uint8_t>{0x42}));
  EXPECT_FALSE(request.capturePath);
}

TEST(GuiArgumentsTest, OptionsTakeTheirValueAfterABlankOrAnEqualsSign) {
  const GuiRequest request = requestOf(
      {"--backend", "sim", "--port=lpt2", "--sim-device", "42,6a", "--capture", "run.vcd"});
  EXPECT_EQ(request.backend, PortBackend::Simulated);
  EXPECT_EQ(request.port, port::PortChoice::lpt(1));
  EXPECT_EQ(request.simulatedDevices, (std::vector<std::uint8_t>{0x42, 0x6A}));
  EXPECT_EQ(request.capturePath, "run.vcd");
  EXPECT_TRUE(requestOf({"--sim-device=none"}).simulatedDevices.empty());
  EXPECT_EQ(simulationOf(request).cabledBase, 0x278);
}

TEST(GuiArgumentsTest, HelpAndVersionWinWhereverTheyStand) {
  EXPECT_TRUE(std::holds_alternative<HelpRequest>(parseGuiArguments({"-platform", "--help"})));
  EXPECT_TRUE(std::holds_alternative<HelpRequest>(parseGuiArguments({"-h"})));
  EXPECT_TRUE(std::holds_alternative<VersionRequest>(parseGuiArguments({"--version"})));
}

TEST(GuiArgumentsTest, HelpFitsEightyColumnsAndSaysWhatToDoWithoutADisplay) {
  std::istringstream lines(guiUsageText());
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
  for (const char* named : {"--capture", "--version", "-platform offscreen", "brelvion-i2c-cli"}) {
    EXPECT_NE(guiUsageText().find(named), std::string::npos) << named;
  }
}

TEST(GuiArgumentsTest, GpioLinesAreTheStartUpPortWithTheirOwnBackendOrAuto) {
  const GuiRequest lines = requestOf({"--port", "gpio:gpiochip0:3,2", "--capture", "run.vcd"});
  ASSERT_NE(lines.port.gpioLines(), nullptr);
  EXPECT_EQ(lines.port.name(), "gpio:gpiochip0:3,2");
  EXPECT_EQ(requestOf({"--backend", "gpio", "--port", "gpio:0:SCL,SDA"}).backend,
            PortBackend::Gpio);
  EXPECT_EQ(errorOf({"--backend", "sim", "--port", "gpio:gpiochip0:3,2"}),
            "--port 'gpio:gpiochip0:3,2' is a pair of GPIO lines: use --backend gpio or auto, not "
            "sim");
  EXPECT_EQ(errorOf({"--port", "gpio:gpiochip0:3,3"}),
            "--port 'gpio:gpiochip0:3,3': SCL and SDA must be two different lines");
}

TEST(GuiArgumentsTest, TheHelpNamesEveryBackendAndPortWordForWord) {
  const std::string help = guiUsageText();
  const std::string ports =
      help.substr(help.find("  --backend"), help.find("  --sim-device") - help.find("  --backend"));
  EXPECT_EQ(ports,
            R"(  --backend auto|sim|ppdev|ioport|i2cdev|gpio
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
)");
  EXPECT_NE(
      help.find(
          "  --capture FILE.vcd  Record every change of SCL and SDA of the start-up's port\n"
          "                      (an LPT port or GPIO lines) from the end of the start-up's\n"),
      std::string::npos);
}

TEST(GuiArgumentsTest, BadUsageIsNamed) {
  EXPECT_EQ(errorOf({"--backend", "usb"}),
            "--backend must be auto, sim, ppdev, ioport, i2cdev or gpio, not 'usb'");
  EXPECT_EQ(errorOf({"--port", "lpt4"}),
            "--port must be lpt1, lpt2, lpt3, i2c-N, /dev/i2c-N or gpio:CHIP:SCL,SDA, not 'lpt4'");
  EXPECT_EQ(errorOf({"--sim-device", "42,"}),
            "--sim-device wants write addresses in hex (one or two digits) or 'none', not ''");
  EXPECT_EQ(errorOf({"--sim-device", "142"}),
            "--sim-device wants write addresses in hex (one or two digits) or 'none', not '142'");
  EXPECT_EQ(errorOf({"--capture="}), "--capture wants a file name");
  EXPECT_EQ(errorOf({"--capture"}), "--capture wants a value");
  EXPECT_EQ(errorOf({"--trace"}), "unknown option '--trace'");
  EXPECT_EQ(errorOf({"write"}), "unexpected argument 'write'");
}

// The arguments are checked before QApplication takes its own options out of them.
TEST(GuiArgumentsTest, QtsOwnOptionsAndTheirValuesAreLetThrough) {
  const GuiRequest request = requestOf(
      {"-platform", "offscreen", "-style", "Fusion", "--backend", "sim", "-qwindowgeometry",
       "640x480+0+0", "-display", ":1", "--stylesheet=a.qss", "-reverse", "--widgetcount",
       "-qwindowtitle", "--port", "--qmljsdebugger=port:1234", "-title", "x", "--port=lpt2"});
  EXPECT_EQ(request.backend, PortBackend::Simulated);
  EXPECT_EQ(request.port, port::PortChoice::lpt(1));
  EXPECT_EQ(request.qtPlatform, "offscreen");
  EXPECT_EQ(request.qtDisplay, ":1");
  EXPECT_EQ(requestOf({"--platform", "xcb"}).qtPlatform, "xcb");
  EXPECT_FALSE(requestOf({"-style=Fusion"}).qtPlatform);
}

TEST(GuiArgumentsTest, WhatQtWouldLeaveAloneIsStillAnError) {
  EXPECT_EQ(errorOf({"-platform", "offscreen", "--bogus"}), "unknown option '--bogus'");
  EXPECT_EQ(errorOf({"-display", ":1", "--port", "lpt9"}),
            "--port must be lpt1, lpt2, lpt3, i2c-N, /dev/i2c-N or gpio:CHIP:SCL,SDA, not 'lpt9'");
  EXPECT_EQ(errorOf({"-style"}), "-style wants a value");
  EXPECT_EQ(errorOf({"--platform"}), "--platform wants a value");
  // Qt takes these only as "-name value", or not at all.
  EXPECT_EQ(errorOf({"-qwindowtitle=x"}), "unknown option '-qwindowtitle'");
  EXPECT_EQ(errorOf({"-sync"}), "unknown option '-sync'");
  EXPECT_EQ(errorOf({"-platform", "offscreen", "sim"}), "unexpected argument 'sim'");
}

TEST(GuiArgumentsTest, TheBusNoticeSaysWhatTheProgramRunsOn) {
  simulator::SimulatedBusConfig simulation;
  EXPECT_EQ(busNoticeText(PortBackend::Simulated, simulation),
            "Simulated bus: camera sensor at 42h");
  simulation.sensorAddresses = {0x42, 0x60};
  EXPECT_EQ(busNoticeText(PortBackend::Simulated, simulation),
            "Simulated bus: camera sensors at 42h, 60h");
  simulation.sensor16Addresses = {0x20};
  EXPECT_EQ(busNoticeText(PortBackend::Simulated, simulation),
            "Simulated bus: camera sensors at 42h, 60h; 16-bit sensor at 20h");
  simulation.sensorAddresses = {};
  simulation.sensor16Addresses = {0x20, 0x22};
  EXPECT_EQ(busNoticeText(PortBackend::Simulated, simulation),
            "Simulated bus: 16-bit sensors at 20h, 22h");
  simulation.sensor16Addresses = {};
  EXPECT_EQ(busNoticeText(PortBackend::Simulated, simulation), "Simulated bus: no device");
  EXPECT_EQ(busNoticeText(PortBackend::Ppdev, simulation),
            "Parallel port through /dev/parport (ppdev)");
}

}  // namespace
}  // namespace brelvion::apps::gui
