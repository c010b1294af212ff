#include <gtest/gtest.h>

#include <sstream>

#include "CliRun.h"
#include "support/ConfiguredSimulation.h"
#include "support/FakeClock.h"
#include "support/RecordingPort.h"

namespace brelvion::apps::cli {
namespace {

using simulator::SimulatedBusConfig;

struct Outcome {
  int status;
  std::string out;
  std::string err;
};

// The companion on a port kept from run to run, as the real one on its cable would be.
Outcome run(port::PortIo& port, std::vector<std::string> args) {
  testing::FakeClock clock;
  std::ostringstream out;
  std::ostringstream err;
  const int status = runCli(args, out, err, "/nonexistent-root",
                            port::hardware::PortSystemCalls::real(), {&port, &clock});
  return {status, out.str(), err.str()};
}

// A sensor stopped one bit into a zero byte: seven zeros left, more than the six pulses of
// the bus clear every other command starts with.
struct StuckEarly {
  void operator()(SimulatedBusConfig& c) const {
    c.stuckMidByte = true;
    c.stuckBitsClocked = 1;
  }
};

TEST(CliRecoverTest, FreesABusTheBusClearCannotAndSaysAfterHowManyPulses) {
  testing::ConfiguredPort<StuckEarly> stuck;
  const Outcome before = run(stuck, {"write", "42", "12", "80"});
  EXPECT_NE(before.out, "80 ACK\n") << "the bus clear freed the sensor after all";

  testing::ConfiguredPort<StuckEarly> port;
  const Outcome recovered = run(port, {"--trace", "recover"});
  EXPECT_EQ(recovered.status, kExitAcknowledged);
  EXPECT_EQ(recovered.out, "bus free after 8 clock pulses\n");
  EXPECT_EQ(recovered.err,
            "Wisp SYS002: I2C bus opened on adress 378h        \n"
            "Wisp MSG009:  Recovering bus                      \n"
            "Wisp MSG002:  Generating STOP on bus              \n"
            "Wisp SYS004: Bus free after 8 clock pulses        \n"
            "Wisp SYS003 :I2C Bus closed                       \n");
  EXPECT_EQ(run(port, {"write", "42", "12", "80"}).out, "80 ACK\n");
  EXPECT_EQ(run(port, {"recover"}).out, "bus free after 0 clock pulses\n");
}

TEST(CliRecoverTest, ABusStillHeldAfterNinePulsesIsNotFree) {
  testing::RecordingPort held;
  held.defaultRead = 0x00;  // SDA reads low for good
  const Outcome result = run(held, {"recover"});
  EXPECT_EQ(result.status, kExitNotAcknowledged);
  EXPECT_EQ(result.out, "bus still held: SDA low after 9 clock pulses\n");
  EXPECT_EQ(result.err, "");
}

TEST(CliLineControlsTest, TheStepTimeSetsHowLongEachLineStepLasts) {
  simulator::SimulatedParallelPort port;
  std::int64_t before = port.nowNs();
  ASSERT_EQ(run(port, {"write", "42", "12", "80"}).out, "80 ACK\n");
  const std::int64_t standard = port.nowNs() - before;
  before = port.nowNs();
  ASSERT_EQ(run(port, {"--step-us", "50", "write", "42", "12", "80"}).out, "80 ACK\n");
  const std::int64_t slow = port.nowNs() - before;
  EXPECT_GT(slow, 9 * standard);
  EXPECT_LE(slow, 10 * standard);
}

// The cable cannot read SCL: the timeout changes nothing on the parallel port.
TEST(CliLineControlsTest, AStretchTimeoutChangesNothingOnTheCable) {
  simulator::SimulatedParallelPort port;
  const Outcome result = run(port, {"--stretch-timeout", "1", "read", "42", "F8", "2"});
  EXPECT_EQ(result.status, kExitAcknowledged);
  EXPECT_EQ(result.out, "B7 3E\n");
}

}  // namespace
}  // namespace brelvion::apps::cli
