#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "capture/BusCapture.h"
#include "capture/I2cWireDecoder.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/EngineFixture.h"
#include "support/ScratchDirectory.h"
#include "support/SigrokRun.h"

// sigrok's I2C decoder reads what the simulated port put on the wire, independently of the
// engine and the slaves, which share this project's idea of I2C.
namespace brelvion {
namespace {

using testing::CommandResult;

TEST(SigrokWireTest, DecodedTrafficMatchesWhatTheEngineSentAndTheSensorReturned) {
  ASSERT_TRUE(testing::sigrokAvailable()) << "sigrok-cli is not on PATH";

  testing::EngineSet<simulator::SimulatedParallelPort> set;
  set.engine.setBusDelay(0.001);
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  // Recorded from an idle bus: the bus clear's START-then-STOP pulses would derail the decoder.
  capture::BusCapture capture;
  set.port.setCapture(&capture);
  std::int16_t address = 0x42;
  set.design.writeRegister(address, 0x10, 0x5A);
  std::int16_t absent = 0x50;
  set.design.writeRegister(absent, 0x01, 0x02);
  set.design.setRegisterPointer(address, 0x0F);
  set.design.readSequential(address, 3);
  set.port.setCapture(nullptr);

  // Registers 0Fh to 12h: defaults around the byte just written.
  ASSERT_EQ(set.design.ReadBuffer, (std::vector<std::int16_t>{0x53, 0x5A, 0x9D, 0xC2}));

  const CommandResult decoded = testing::decodeI2c(capture, "wire");
  ASSERT_EQ(decoded.status, 0);

  // Every byte read shows as acknowledged, the last one too: the engine clocks no
  // acknowledge after it, but its STOP pulls SDA low before raising SCL, and to the decoder
  // that rise is the byte's ninth clock, with SDA low. The STOP comes right after it.
  std::vector<std::string> expected{"Start",
                                    "Write",
                                    "Address write: 21",
                                    "ACK",
                                    "Data write: 10",
                                    "ACK",
                                    "Data write: 5A",
                                    "ACK",
                                    "Stop",
                                    "Start",
                                    "Write",
                                    "Address write: 28",
                                    "NACK",
                                    "Data write: 01",
                                    "NACK",
                                    "Data write: 02",
                                    "NACK",
                                    "Stop",
                                    "Start",
                                    "Write",
                                    "Address write: 21",
                                    "ACK",
                                    "Data write: 0F",
                                    "ACK",
                                    "Stop",
                                    "Start",
                                    "Read",
                                    "Address read: 21",
                                    "ACK",
                                    "Data read: 53",
                                    "ACK",
                                    "Data read: 5A",
                                    "ACK",
                                    "Data read: 9D",
                                    "ACK",
                                    "Data read: C2",
                                    "ACK",
                                    "Stop"};
  EXPECT_EQ(decoded.lines, expected);
}

// The register pointer write and the read of readRegisters, captured from an idle bus.
std::string capturedRegisterRead(bool repeatedStart) {
  testing::EngineSet<simulator::SimulatedParallelPort> set;
  set.engine.setBusDelay(0.001);
  set.design.repeatedStartReads = repeatedStart;
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  capture::BusCapture capture;
  set.port.setCapture(&capture);
  std::int16_t address = 0x42;
  set.design.readRegisters(address, 0x0F, 1);
  set.port.setCapture(nullptr);
  const std::string path = ::testing::TempDir() + "brelvion_wire_rs_" + std::to_string(getpid()) +
                           (repeatedStart ? "_on" : "_off") + ".vcd";
  capture.writeVcdFile(path);
  return path;
}

TEST(SigrokWireTest, ARepeatedStartDecodesBetweenTheWriteAndTheRead) {
  ASSERT_TRUE(testing::sigrokAvailable()) << "sigrok-cli is not on PATH";
  const std::string path = capturedRegisterRead(true);
  const CommandResult decoded = testing::decodeI2cCapture(path);
  std::remove(path.c_str());
  ASSERT_EQ(decoded.status, 0);
  std::vector<std::string> expected{
      "Start", "Write",        "Address write: 21", "ACK", "Data write: 0F", "ACK",
      "Start repeat", "Read", "Address read: 21",  "ACK", "Data read: 53",  "ACK",
      "Data read: 78", "ACK", "Stop"};
  for (std::string& line : expected) line = "i2c-1: " + line;
  EXPECT_EQ(decoded.lines, expected);
}

// With the repeated START off, the wire is what a pointer write and a read always made.
TEST(SigrokWireTest, WithoutARepeatedStartTheCaptureIsTheDesignsByteForByte) {
  testing::EngineSet<simulator::SimulatedParallelPort> set;
  set.engine.setBusDelay(0.001);
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  capture::BusCapture capture;
  set.port.setCapture(&capture);
  std::int16_t address = 0x42;
  set.design.setRegisterPointer(address, 0x0F);
  set.design.readSequential(address, 1);
  set.port.setCapture(nullptr);
  const std::string designPath = ::testing::TempDir() + "brelvion_wire_design_" +
                                 std::to_string(getpid()) + ".vcd";
  capture.writeVcdFile(designPath);
  const std::string offPath = capturedRegisterRead(false);
  EXPECT_EQ(testing::readWhole(offPath), testing::readWhole(designPath));
  EXPECT_FALSE(testing::readWhole(offPath).empty());
  std::remove(offPath.c_str());
  std::remove(designPath.c_str());
}

// The project's own decoder, which the capture importer uses, reads the same wire as
// sigrok: the tool's writes and reads, a write nobody answers, and a transfer with a
// repeated START. Its transfers are written as sigrok's annotations to compare.
class SigrokLines : public capture::TransferSink {
 public:
  void transfer(capture::DecodedTransfer&& transfer) override {
    for (std::size_t m = 0; m < transfer.messages.size(); ++m) {
      const capture::DecodedMessage& message = transfer.messages[m];
      const char* direction = message.read() ? "read" : "write";
      lines.push_back(m == 0 ? "Start" : "Start repeat");
      lines.push_back(message.read() ? "Read" : "Write");
      lines.push_back(std::string("Address ") + direction + ": " + hex(message.address >> 1));
      lines.push_back(message.addressAcknowledged ? "ACK" : "NACK");
      for (std::size_t i = 0; i < message.bytes.size(); ++i) {
        lines.push_back(std::string("Data ") + direction + ": " + hex(message.bytes[i]));
        lines.push_back(message.acknowledged[i] ? "ACK" : "NACK");
      }
    }
    if (transfer.stopped) lines.push_back("Stop");
  }
  static std::string hex(unsigned value) {
    char text[4];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
  }
  std::vector<std::string> lines;
};

TEST(SigrokWireTest, TheProjectsDecoderReadsTheWireAsSigrokDoes) {
  ASSERT_TRUE(testing::sigrokAvailable()) << "sigrok-cli is not on PATH";
  testing::EngineSet<simulator::SimulatedParallelPort> set;
  set.engine.setBusDelay(0.001);
  set.engine.openBus(0, 0);
  set.engine.initPort(10);
  capture::BusCapture capture;
  set.port.setCapture(&capture);
  std::int16_t address = 0x42;
  set.design.writeRegister(address, 0x10, 0x5A);
  std::int16_t absent = 0x50;
  set.design.writeRegister(absent, 0x01, 0x02);
  set.design.setRegisterPointer(address, 0x0F);
  set.design.readSequential(address, 3);
  i2c::I2cMessage pointer{0x42, false, {0xF8}, 0, i2c::AfterMessage::RepeatedStart};
  i2c::I2cMessage read{0x42, true, {}, 2, i2c::AfterMessage::Stop};
  set.engine.transfer({pointer, read});
  set.port.setCapture(nullptr);

  SigrokLines ours;
  capture::I2cDecoder decoder(ours);
  for (const auto& sample : capture.samples()) decoder.levels(sample.timeNs, sample.scl, sample.sda);
  decoder.finish();

  const CommandResult decoded = testing::decodeI2c(capture, "decoder");
  ASSERT_EQ(decoded.status, 0);
  EXPECT_EQ(ours.lines, decoded.lines);
  EXPECT_EQ(ours.lines.size(), 53u);
}

}  // namespace
}  // namespace brelvion
