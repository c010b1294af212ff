#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/RuntimeError.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "simulator/SimulatedParallelPort.h"
#include "scripts/ScriptRunner.h"
#include "scripts/ScriptWriter.h"
#include "scripts/TransactionScript.h"
#include "support/EngineFixture.h"
#include "support/FakeClock.h"
#include "support/FakeI2cDevSystemCalls.h"
#include "support/MarkedLines.h"
#include "windowlogic/FormLoad.h"
#include "windowlogic/SingleRegister.h"

namespace brelvion::windowlogic {
namespace {

using simulator::SimulatedBusConfig;
using simulator::SimulatedParallelPort;
using testing::EngineSet;
using testing::FakeClock;
using testing::NoDevicePort;


// A port whose every access fails as an unreachable port library would.
struct UnreachablePort : port::PortIo {
  std::uint8_t inpb(std::uint16_t) override { fail(); }
  void out(std::uint16_t, std::uint8_t) override { fail(); }
  void waitQuanta(std::int64_t) override {}
  void setQuantum(std::chrono::nanoseconds) override {}
  void setCapture(capture::BusCapture*) override {}
  [[noreturn]] static void fail() {
    throw base::RuntimeError(base::RuntimeError::kFileNotFound, "inpb",
                             "No parallel port at 378h: load ppdev");
  }
};

// The window as the start-up and Send Register see it, with every call noted in order.
struct FakeWindow : LoadView, RegisterPanel {
  void initDeviceMonitor() override { calls.push_back("init"); }
  void updateDeviceMonitor(bool acknowledged) override {
    calls.push_back("update");
    acks.push_back(acknowledged);
  }
  void initScrollArea() override { calls.push_back("scroll"); }
  void initDelayFields() override { calls.push_back("delays"); }
  void fillPortList() override { calls.push_back("ports"); }
  std::string deviceAddressText() const override { return text2; }
  std::string subAddressText() const override { return text3; }
  std::string writeDataText() const override { return text4; }
  void setReadBackText(const std::string& text) override { calls.push_back("read:" + text); }
  void showWindow() override { calls.push_back("show"); }

  std::vector<std::string> calls;
  // What each updateDeviceMonitor showed.
  std::vector<bool> acks;
  std::string text2 = "42", text3 = "00", text4 = "00";
};

template <typename Port>
struct Started {
  Started() { startUp(set.core, fields, window); }
  void sendRegister() { windowlogic::sendRegister(set.core.master(), pointerThen, fields, window); }
  EngineSet<Port> set;
  commandfiles::RegisterFields fields;
  i2c::AfterMessage pointerThen = i2c::AfterMessage::Stop;
  FakeWindow window;
};

TEST(FormLoadTest, StartUpSetsEveryDefaultAndLeavesTwoTraceLines) {
  Started<SimulatedParallelPort> s;
  const auto& core = s.set.core;
  EXPECT_EQ(s.fields.deviceAddress, 0x42);
  EXPECT_EQ(s.fields.subAddress, 0);
  EXPECT_EQ(s.fields.writeData, 0);
  EXPECT_FALSE(core.values().fileEdited);
  EXPECT_EQ(core.ports().portIndex, 0);
  EXPECT_EQ(core.ports().busOpen, 0);
  EXPECT_DOUBLE_EQ(s.set.engine.busDelay(), 0.001);
  EXPECT_EQ(s.set.engine.ackTimeout(), 10);
  EXPECT_TRUE(s.set.log.enabled());
  EXPECT_EQ(core.cable()->dataPort(), 0x378);
  EXPECT_FALSE(s.set.debuggerState.stopOnError);
  EXPECT_DOUBLE_EQ(s.set.debuggerState.traceBufferSize, 10);
  EXPECT_FALSE(core.busBusy());
  EXPECT_EQ(s.window.calls,
            (std::vector<std::string>{"init", "scroll", "delays", "ports", "show"}));
  EXPECT_EQ(s.set.traceLines(),
            testing::markedLines({"Wisp Debugger ENABLED                             |",
                                  "Wisp SYS003 :I2C Bus closed                       |"}));
  EXPECT_TRUE(s.set.desktop.boxes.empty());
  EXPECT_GE(s.set.desktop.yields, 1);
}

TEST(FormLoadTest, TheStartPortAndTheBusClearHookAreHonoured) {
  EngineSet<SimulatedParallelPort> set;
  FakeWindow window;
  std::int16_t timeoutWhenCleared = 0;
  commandfiles::RegisterFields fields;
  startUp(set.core, fields, window, {1, [&] { timeoutWhenCleared = set.engine.ackTimeout(); }});
  EXPECT_EQ(set.core.ports().portIndex, 1);
  EXPECT_EQ(set.core.cable()->dataPort(), 0x278);
  EXPECT_EQ(timeoutWhenCleared, 10);
}

TEST(FormLoadTest, ABadAddressFieldEndsTheStartUpWithItsBox) {
  EngineSet<SimulatedParallelPort> set;
  FakeWindow window;
  window.text3 = "zz";
  commandfiles::RegisterFields fields;
  startUp(set.core, fields, window);
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].title, "Form Load");
  EXPECT_EQ(set.desktop.boxes[0].text, "13: Type mismatch");
  EXPECT_EQ(set.desktop.boxes[0].icon, desktop::MessageIcon::Exclamation);
  // The steps after the failing one did not run: no bus, no window shown.
  EXPECT_EQ(set.core.cable()->dataPort(), 0);
  EXPECT_EQ(fields.deviceAddress, 0x42);
  EXPECT_EQ(window.calls.back(), "ports");
  EXPECT_FALSE(set.core.busBusy());
}

TEST(FormLoadTest, AnUnreachablePortIsNamedInTheBoxAndTheProgramGoesOn) {
  EngineSet<UnreachablePort> set;
  FakeWindow window;
  commandfiles::RegisterFields fields;
  startUp(set.core, fields, window);
  ASSERT_EQ(set.desktop.boxes.size(), 1u);
  EXPECT_EQ(set.desktop.boxes[0].text, "53: No parallel port at 378h: load ppdev");
  EXPECT_FALSE(set.core.busBusy());
}

TEST(SendRegisterTest, WritesReadsBackAndShowsTheReadAcknowledge) {
  Started<SimulatedParallelPort> s;
  s.window.calls.clear();
  s.window.text2 = "43";
  s.window.text3 = "12";
  s.window.text4 = "80";
  s.sendRegister();
  EXPECT_EQ(s.window.calls,
            (std::vector<std::string>{"init", "read:", "init", "read:80", "update", "update"}));
  EXPECT_EQ(s.fields.deviceAddress, 0x43);
  EXPECT_EQ(s.fields.subAddress, 0x12);
  EXPECT_EQ(s.fields.writeData, 0x80);
  EXPECT_EQ(s.window.acks, (std::vector<bool>{true, true}));
}

// Saved with expects, a session of Send Register writes runs again on the same device in
// the same run: each expect checks the byte the read back showed, not the one after it,
// which a later write changed.
TEST(SendRegisterTest, ASessionSavedWithExpectsPassesWhenSentBack) {
  Started<SimulatedParallelPort> s;
  for (const auto& [reg, value] : {std::pair{"12", "80"}, {"13", "55"}, {"12", "81"}}) {
    s.window.text3 = reg;
    s.window.text4 = value;
    s.sendRegister();
  }
  const scripts::Script saved = scripts::scriptOfTransactions(
      s.set.core.engine().record().entries(), {.readsAsExpect = true});
  FakeClock clock;
  const scripts::RunOutcome ran =
      scripts::runScript(s.set.core.engine(), clock, scripts::stepsOf(saved), "saved.i2cs");
  EXPECT_EQ(ran.end, scripts::RunEnd::Completed)
      << (ran.problem ? ran.problem->text() : "") << scripts::writeScript(saved);
  EXPECT_EQ(ran.commands, 6u);
}

TEST(SendRegisterTest, TheReadBackHasNoLeadingZeros) {
  Started<SimulatedParallelPort> s;
  s.window.text3 = "12";
  s.window.text4 = "05";
  s.sendRegister();
  EXPECT_EQ(s.window.calls[s.window.calls.size() - 3], "read:5");
}

TEST(SendRegisterTest, WithoutADeviceSixTimeoutsAreLoggedAndFFIsRead) {
  Started<NoDevicePort> s;
  std::vector<std::string> errors;
  s.set.core.log().setLineListener([&](std::string_view line) {
    if (line.rfind("Wisp ERR", 0) == 0) errors.emplace_back(line.substr(0, 11));
  });
  s.sendRegister();
  EXPECT_EQ(errors, (std::vector<std::string>{"Wisp ERR001", "Wisp ERR002", "Wisp ERR002",
                                              "Wisp ERR001", "Wisp ERR002", "Wisp ERR001"}));
  EXPECT_EQ(s.window.calls[s.window.calls.size() - 3], "read:FF");
  EXPECT_FALSE(s.window.acks.back());
  EXPECT_EQ(s.set.desktop.beeps, 0);
}

TEST(SendRegisterTest, WithTheDebuggerDisabledTimeoutsBeepInstead) {
  Started<NoDevicePort> s;
  s.set.core.startBus();
  const std::string traceBefore = s.set.trace.text();
  s.sendRegister();
  EXPECT_EQ(s.set.desktop.beeps, 6);
  EXPECT_EQ(s.set.trace.text(), traceBefore);
}

// An adapter reports no byte for a read nobody answered: the field stays empty.
TEST(SendRegisterTest, OnAnAdapterARefusedReadLeavesTheReadBackEmpty) {
  testing::FakeI2cDevSystemCalls calls;
  calls.kernel.addAdapter(3, "CP2112").devices[0x21];
  Started<testing::RecordingPort> s;
  s.set.core.useAdapter(std::make_unique<port::i2cdev::I2cDevAdapter>(3, calls));
  s.window.text2 = "42";
  s.window.text3 = "12";
  s.window.text4 = "80";
  s.sendRegister();
  EXPECT_EQ(s.window.calls[s.window.calls.size() - 3], "read:80");
  s.window.calls.clear();
  s.window.text2 = "60";
  s.sendRegister();
  EXPECT_EQ(s.window.calls, (std::vector<std::string>{"init", "read:", "init", "update", "update"}));
  EXPECT_FALSE(s.window.acks.back());
  s.pointerThen = i2c::AfterMessage::RepeatedStart;
  s.window.text2 = "42";
  s.sendRegister();
  EXPECT_EQ(calls.kernel.log.back(), "ioctl 3 I2C_RDWR 21/0000/1 [12] 21/0001/2");
}

}  // namespace
}  // namespace brelvion::windowlogic
