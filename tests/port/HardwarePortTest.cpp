#include <gtest/gtest.h>

#include <deque>

#include "capture/BusCapture.h"
#include "port/HardwarePort.h"

namespace brelvion::port {
namespace {

// A hardware backend without hardware: writes vanish, status reads come from a script.
class ScriptedHardwarePort : public HardwarePort {
 public:
  ScriptedHardwarePort() : HardwarePort(std::chrono::nanoseconds(0)) {}
  std::deque<std::uint8_t> statusReads;

 protected:
  std::uint8_t readRegister(std::uint16_t) override {
    if (statusReads.empty()) return 0xFF;
    const std::uint8_t value = statusReads.front();
    statusReads.pop_front();
    return value;
  }
  void writeRegister(std::uint16_t, std::uint8_t) override {}
};

// Levels of the capture as "scl,sda" pairs, times left out.
std::string levels(const capture::BusCapture& capture) {
  std::string text;
  for (const auto& sample : capture.samples()) {
    text += sample.scl ? '1' : '0';
    text += sample.sda ? '1' : '0';
    text += ' ';
  }
  return text;
}

TEST(StepTimerTest, DeadlinesCountFromTheLatestWrite) {
  StepTimer timer(std::chrono::nanoseconds(2500));
  timer.markWrite(1000);
  EXPECT_EQ(timer.deadlineAfter(1), 3500);
  EXPECT_EQ(timer.deadlineAfter(2), 8500);
  timer.markWrite(7000);
  EXPECT_EQ(timer.deadlineAfter(1), 9500);
}

TEST(HardwarePortTest, CaptureRecordsTheMastersOwnLines) {
  ScriptedHardwarePort port;
  capture::BusCapture capture;
  port.setCapture(&capture);
  port.out(0x378, 0xFF);  // SDA low: START while SCL is high
  port.out(0x37A, 0x00);  // SCL low
  port.out(0x37A, 0x00);  // the same level again adds nothing
  EXPECT_EQ(levels(capture), "11 10 00 ");
}

TEST(HardwarePortTest, ASensedAcknowledgeIsDatedBackToWhenSdaWasFree) {
  ScriptedHardwarePort port;
  capture::BusCapture capture;
  port.out(0x37A, 0x00);
  port.out(0x378, 0xFF);  // master drives the last data bit low
  port.setCapture(&capture);
  port.out(0x378, 0x7F);  // releases SDA for the acknowledge
  port.out(0x37A, 0x08);  // ninth clock
  port.statusReads = {0x00};
  port.inpb(0x379);  // the slave was holding SDA low all along
  port.out(0x378, 0x7F);
  port.out(0x37A, 0x00);  // slave lets go after the clock falls
  // No SDA rise while SCL is high, which a decoder would take for a STOP.
  EXPECT_EQ(levels(capture), "00 10 01 ");
}

TEST(HardwarePortTest, ReadBitsAppearWhenSclFallsBeforeTheirSample) {
  ScriptedHardwarePort port;
  capture::BusCapture capture;
  port.out(0x37A, 0x00);
  port.out(0x378, 0x7F);
  port.setCapture(&capture);
  port.statusReads = {0x00, 0x80};
  port.out(0x37A, 0x08);
  port.inpb(0x379);  // bit 0
  port.out(0x37A, 0x00);
  port.out(0x37A, 0x08);
  port.inpb(0x379);  // bit 1
  port.out(0x37A, 0x00);
  EXPECT_EQ(levels(capture), "00 10 01 11 01 ");
}

}  // namespace
}  // namespace brelvion::port
