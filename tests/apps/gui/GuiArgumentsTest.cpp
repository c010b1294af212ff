#include <gtest/gtest.h>

#include <sstream>

#include "GuiArguments.h"

namespace brelvion::apps::gui {
namespace {

using port::PortBackend;

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
  port::simulated::SimulatedBusConfig simulation;
  EXPECT_EQ(busNoticeText(PortBackend::Simulated, simulation),
            "Simulated bus: camera sensor at 42h");
  simulation.sensorAddresses = {0x42, 0x60};
  EXPECT_EQ(busNoticeText(PortBackend::Simulated, simulation),
            "Simulated bus: camera sensors at 42h, 60h");
  simulation.sensorAddresses = {};
  EXPECT_EQ(busNoticeText(PortBackend::Simulated, simulation), "Simulated bus: no device");
  EXPECT_EQ(busNoticeText(PortBackend::Ppdev, simulation),
            "Parallel port through /dev/parport (ppdev)");
}

}  // namespace
}  // namespace brelvion::apps::gui
