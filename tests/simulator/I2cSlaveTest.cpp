#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <vector>

#include "simulator/SimulatedI2cBus.h"

namespace brelvion::simulator {
namespace {

class ScriptedSlave : public I2cSlave {
 public:
  using I2cSlave::I2cSlave;
  std::vector<std::uint8_t> written;
  std::deque<std::uint8_t> toSend;
  int bytesSent = 0;
  int stops = 0;

 protected:
  bool byteWritten(std::uint8_t value) override {
    written.push_back(value);
    return true;
  }
  std::uint8_t byteToRead() override {
    ++bytesSent;
    const std::uint8_t value = toSend.empty() ? 0xFF : toSend.front();
    if (!toSend.empty()) toSend.pop_front();
    return value;
  }
  void stopped() override { ++stops; }
};

// A bare master on the wires, so these tests do not depend on the engine's line sequences.
class I2cSlaveTest : public ::testing::Test {
 protected:
  SimulatedI2cBus bus;
  ScriptedSlave& slave = bus.attach(std::make_unique<ScriptedSlave>(0x21));

  void set(bool scl, bool sda) { bus.driveMaster(scl, sda); }
  void start() {
    set(true, true);
    set(true, false);
    set(false, false);
  }
  void stop() {
    set(false, false);
    set(true, false);
    set(true, true);
  }
  // One clock with `bit` on SDA; returns SDA as the wire has it while SCL is high.
  bool clock(bool bit) {
    set(false, bit);
    set(true, bit);
    const bool seen = bus.sda();
    set(false, bit);
    return seen;
  }
  bool writeByte(std::uint8_t value) {  // true if acknowledged
    for (int bit = 7; bit >= 0; --bit) clock(((value >> bit) & 1) != 0);
    return !clock(true);
  }
};

TEST_F(I2cSlaveTest, AcknowledgesItsAddressFromTheEighthFallToTheNinth) {
  start();
  for (int bit = 7; bit >= 1; --bit) clock(((0x42 >> bit) & 1) != 0);
  set(false, false);
  set(true, false);
  EXPECT_TRUE(bus.slavesReleaseSda()) << "acknowledge before the eighth bit is over";
  set(false, false);
  EXPECT_FALSE(bus.slavesReleaseSda()) << "no acknowledge after the eighth bit";
  set(false, true);
  set(true, true);
  EXPECT_FALSE(bus.sda()) << "acknowledge gone while SCL is high";
  set(false, true);
  EXPECT_TRUE(bus.sda()) << "acknowledge held past the ninth clock";
}

TEST_F(I2cSlaveTest, IgnoresOtherAddressesUntilTheNextStartAndIdlesAfterStop) {
  start();
  EXPECT_FALSE(writeByte(0x44));
  EXPECT_FALSE(writeByte(0x42)) << "an address byte in the data is no address";
  stop();
  EXPECT_EQ(slave.stops, 0);
  start();
  EXPECT_TRUE(writeByte(0x42));
  EXPECT_TRUE(writeByte(0x9C));
  stop();
  EXPECT_EQ(slave.stops, 1);
  EXPECT_FALSE(writeByte(0x42)) << "bytes taken without a START";
  EXPECT_EQ(slave.written, std::vector<std::uint8_t>{0x9C});
}

TEST_F(I2cSlaveTest, SendsReadDataMsbFirstWhileSclIsLowUntilTheMasterNacks) {
  slave.toSend = {0xA5, 0x00, 0x00};
  start();
  ASSERT_TRUE(writeByte(0x43));
  for (int byte = 0; byte < 2; ++byte) {
    std::uint8_t value = 0;
    for (int bit = 0; bit < 8; ++bit) {
      const bool beforeRise = bus.sda();
      const bool seen = clock(true);
      EXPECT_EQ(seen, beforeRise) << "SDA moved with the rising edge of bit " << bit;
      value = static_cast<std::uint8_t>(value << 1 | seen);
    }
    EXPECT_EQ(value, byte == 0 ? 0xA5 : 0x00);
    EXPECT_TRUE(bus.slavesReleaseSda()) << "SDA not released for the master's acknowledge";
    clock(byte != 0);  // ACK, then NACK
  }
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(clock(true)) << "SDA held after the NACK";
  EXPECT_EQ(slave.bytesSent, 2);
  stop();
  EXPECT_EQ(slave.stops, 1);
}

TEST_F(I2cSlaveTest, AStartInsideATransferRestartsAddressReception) {
  start();
  ASSERT_TRUE(writeByte(0x42));
  clock(true);
  clock(false);  // a write byte cut short
  set(false, true);
  start();
  EXPECT_TRUE(writeByte(0x42));
  EXPECT_TRUE(writeByte(0x77));
  EXPECT_EQ(slave.written, std::vector<std::uint8_t>{0x77});
  slave.toSend = {0xFF};
  start();  // also in the middle of a read
  ASSERT_TRUE(writeByte(0x43));
  clock(true);
  start();
  EXPECT_TRUE(writeByte(0x42));
  EXPECT_EQ(slave.stops, 0) << "a repeated START is no STOP";
}

// A stretch starts at the fall that ends the acknowledge clock of a byte the slave took part
// in, and lasts in the bus's time: until it has passed, a released SCL stays low and no
// slave sees it rise.
TEST_F(I2cSlaveTest, AStretchingSlaveHoldsSclAfterEachByteUntilItsTimeHasPassed) {
  slave.setClockStretch(1000);
  bus.advanceTo(5000);
  start();
  EXPECT_TRUE(writeByte(0x42));
  set(false, false);  // the first bit of 5Ah
  set(true, false);
  EXPECT_FALSE(bus.scl()) << "SCL not held after the address";
  EXPECT_FALSE(bus.slavesReleaseScl());
  bus.advanceTo(5999);
  EXPECT_FALSE(bus.scl());
  bus.advanceTo(6000);
  EXPECT_TRUE(bus.scl());
  bus.advanceTo(1000);
  EXPECT_TRUE(bus.scl()) << "time ran back";

  // The held rise was the slave's first clock of the byte, taken once it came.
  set(false, false);
  for (int bit = 6; bit >= 0; --bit) clock(((0x5A >> bit) & 1) != 0);
  EXPECT_FALSE(clock(true)) << "5Ah not acknowledged";
  EXPECT_EQ(slave.written, std::vector<std::uint8_t>{0x5A});
  set(true, true);
  EXPECT_FALSE(bus.scl()) << "no stretch after the second byte";
  bus.advanceTo(7000);
  EXPECT_TRUE(bus.scl());

  // Nobody else's address: no stretch.
  start();
  EXPECT_FALSE(writeByte(0x44));
  set(true, true);
  EXPECT_TRUE(bus.scl());
}

}  // namespace
}  // namespace brelvion::simulator
