#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ImportSupport.h"
#include "capture/BusCapture.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"

namespace brelvion::scripts {
namespace {

using capture::BusCapture;
using imports::problemTexts;

// The simulated bus with the camera sensor at 42h, recorded from an idle bus on.
struct CapturedBus {
  explicit CapturedBus(bool fromTheBusClear = false) {
    set.engine.setBusDelay(0.001);
    set.engine.openBus(0, 0);
    if (fromTheBusClear) set.port.setCapture(&capture);
    set.engine.initPort(10);
    set.port.setCapture(&capture);
  }
  void write(std::int16_t device, std::int16_t reg, std::int16_t value) {
    set.design.writeRegister(device, reg, value);
  }
  void waitMs(double ms) {
    set.port.waitQuanta(static_cast<std::int64_t>(ms * 1e6 / 2500));
  }
  std::string vcd() const { return vcdOf(capture); }
  static std::string vcdOf(const BusCapture& capture) {
    std::ostringstream out;
    capture.writeVcd(out);
    return out.str();
  }

  brelvion::testing::EngineSet<simulator::SimulatedParallelPort> set;
  BusCapture capture;
};

// What the tool's own transactions put on the wire: register writes, a wait, a register
// read with a STOP between pointer and read, a write nobody answers, and a read with a
// repeated START made as one transfer.
std::string toolTraffic() {
  CapturedBus bus;
  bus.write(0x42, 0x10, 0x5A);
  bus.waitMs(10.5);
  bus.write(0x42, 0xB3, 0x45);
  std::int16_t address = 0x42;
  bus.set.design.setRegisterPointer(address, 0x0F);
  bus.set.design.readSequential(address, 3);
  bus.write(0x50, 0x01, 0x02);
  i2c::I2cMessage pointer;
  pointer.address = 0x42;
  pointer.bytes = {0xF8};
  pointer.after = i2c::AfterMessage::RepeatedStart;
  i2c::I2cMessage read;
  read.address = 0x42;
  read.read = true;
  read.readLength = 2;
  EXPECT_TRUE(bus.set.engine.transfer({pointer, read}).acknowledged());
  i2c::I2cMessage wide;
  wide.address = 0x42;
  wide.bytes = {0x01, 0x03, 0x01};
  bus.set.engine.transfer({wide});
  return bus.vcd();
}

constexpr const char* kToolScript =
    "device 42\n"
    "write 10 5A\n"
    "delay 10\n"
    "write B3 45\n"
    "read 0F 4\n"
    "device 50\n"
    "write 01 02  ; no ACK in the capture\n"
    "device 42\n"
    "read F8 2\n"
    "regbits 16\n"
    "write 0103 01\n";

// The script without its first line, the summary of the decoding.
std::string body(const ImportResult& result) {
  Script rest = result.script;
  rest.statements.erase(rest.statements.begin());
  return writeScript(rest);
}

TEST(VcdImportTest, TheToolsOwnTransactionsComeBackAsTheCommandsThatMadeThem) {
  const std::string vcd = toolTraffic();
  const ImportResult result = importText(Format::Vcd, vcd, "bus.vcd", {});
  ASSERT_TRUE(result.ok()) << problemTexts(result.problems)[0];
  EXPECT_EQ(body(result), kToolScript);
  EXPECT_EQ(result.script.statements[0].comment.rfind("decoded from bus.vcd: 7 transfers in ", 0), 0u)
      << result.script.statements[0].comment;
  EXPECT_TRUE(imports::readsBack(result));

  ImportOptions patient;
  patient.minDelayMs = 11;
  const ImportResult noDelay = importText(Format::Vcd, vcd, "bus.vcd", patient);
  EXPECT_EQ(body(noDelay).find("delay"), std::string::npos);
}

TEST(VcdImportTest, WithReadsAsExpectTheValuesTheReadsReturnedAreKept) {
  ImportOptions options;
  options.readsAsExpect = true;
  const ImportResult result = importText(Format::Vcd, toolTraffic(), "bus.vcd", options);
  ASSERT_TRUE(result.ok()) << problemTexts(result.problems)[0];
  // The values are the bytes the capture shows the sensor sending, F8h an ID register.
  EXPECT_EQ(body(result),
            "device 42\nwrite 10 5A\ndelay 10\nwrite B3 45\n"
            "expect 0F 53\nexpect 10 78\nexpect 11 9D\nexpect 12 C2\n"
            "device 50\nwrite 01 02  ; no ACK in the capture\n"
            "device 42\nexpect F8 B7\nexpect F9 3E\nregbits 16\nwrite 0103 01\n");
  EXPECT_TRUE(imports::readsBack(result));
}

// Spikes of 20 ns in every third quiet stretch: on SCL while it is low (a bit that never
// was) and on SDA while SCL is high (a STOP and a START that never were).
std::string withGlitches(const std::string& vcd) {
  const auto clean = capture::readVcdCapture(vcd, {});
  BusCapture noisy;
  const auto& samples = clean->samples;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const auto& sample = samples[i];
    noisy.record(sample.timeNs, sample.scl, sample.sda);
    const bool quiet = i + 1 < samples.size() && samples[i + 1].timeNs - sample.timeNs >= 1000;
    if (!quiet || i % 3 != 0) continue;
    const std::int64_t at = sample.timeNs + 400;
    const bool sclLow = !sample.scl;
    noisy.record(at, sclLow ? true : sample.scl, sclLow ? sample.sda : !sample.sda);
    noisy.record(at + 20, sample.scl, sample.sda);
  }
  return CapturedBus::vcdOf(noisy);
}

TEST(VcdImportTest, GlitchesShorterThanTheGlitchTimeChangeNothing) {
  const std::string noisy = withGlitches(toolTraffic());
  const ImportResult result = importText(Format::Vcd, noisy, "noisy.vcd", {});
  ASSERT_TRUE(result.ok()) << problemTexts(result.problems)[0];
  EXPECT_EQ(body(result), kToolScript);
  EXPECT_NE(result.script.statements[0].comment.find(" glitches shorter than 50 ns left out"),
            std::string::npos)
      << result.script.statements[0].comment;

  ImportOptions unfiltered;
  unfiltered.glitchNs = 0;
  const ImportResult raw = importText(Format::Vcd, noisy, "noisy.vcd", unfiltered);
  EXPECT_FALSE(raw.ok());
  EXPECT_FALSE(raw.problems.empty());
}

TEST(VcdImportTest, SaysWhatItLeftOutAndWhereTheCaptureCannotBeCommands) {
  CapturedBus bus(true);
  bus.write(0x42, 0x10, 0x5A);
  bus.set.engine.sendStart();
  bus.set.engine.transmitByte(0x42);
  bus.set.engine.waitAck();
  bus.set.engine.transmitByte(0x10);
  bus.set.engine.waitAck();
  bus.set.engine.sendStop();
  bus.set.engine.sendStart();
  bus.set.engine.transmitByte(0x42);
  const std::string vcd = bus.vcd();
  const ImportResult result = importText(Format::Vcd, vcd, "cut.vcd", {});
  const auto lineOf = [&](std::size_t problem) { return std::to_string(result.problems[problem].line); };
  ASSERT_EQ(result.problems.size(), 2u) << problemTexts(result.problems)[0];
  EXPECT_EQ(problemTexts(result.problems),
            (std::vector<std::string>{
                "cut.vcd:" + lineOf(0) +
                    ": a write of one byte to 42 (a register with no value and no read after "
                    "it) cannot be a script command",
                "cut.vcd:" + lineOf(1) + ": the capture ends inside a transfer, before its STOP",
            }));
  EXPECT_LT(result.problems[0].line, result.problems[1].line);
  EXPECT_NE(result.script.statements[0].comment.find(
                "; 6 clock pulses outside any transfer (a bus clear?) left out"),
            std::string::npos)
      << result.script.statements[0].comment;

  ImportOptions wrongNames;
  wrongNames.signals.scl = "D0";
  const ImportResult unnamed = importText(Format::Vcd, vcd, "cut.vcd", wrongNames);
  EXPECT_TRUE(unnamed.failed);
  EXPECT_EQ(problemTexts(unnamed.problems),
            (std::vector<std::string>{"cut.vcd:7: no signal named 'D0' (the file has: scl, sda)"}));
}

}  // namespace
}  // namespace brelvion::scripts
