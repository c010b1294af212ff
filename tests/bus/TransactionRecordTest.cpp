#include <gtest/gtest.h>

#include <chrono>
#include <iterator>

#include "bus/RegisterAccess.h"
#include "port/i2cdev/I2cDevAdapter.h"
#include "simulator/SimulatedParallelPort.h"
#include "support/ConfiguredSimulation.h"
#include "support/EngineFixture.h"
#include "support/FakeClock.h"
#include "support/FakeI2cDevSystemCalls.h"

namespace brelvion::testing {
namespace {

using namespace std::chrono_literals;
using bus::Transaction;
using i2c::MessageOutcome;
using simulator::SimulatedBusConfig;
using simulator::SimulatedParallelPort;

Transaction entry(std::chrono::nanoseconds time, std::uint8_t address, std::vector<std::uint8_t> bytes,
                  MessageOutcome outcome = MessageOutcome::Acknowledged, std::size_t nackedByte = 0) {
  return Transaction{time, address, (address & 1) != 0, std::move(bytes), outcome, nackedByte, false, {}};
}

// The engine on a bus, the debugger on unless asked, its record on a fake clock.
template <typename Port>
struct Recording {
  explicit Recording(std::int16_t debug = 1, double bound = 1000) {
    set.engine.setBusDelay(0.001);
    set.debuggerState.traceBufferSize = bound;
    set.engine.openBus(0, debug);
    set.engine.initPort(10);
    set.engine.record().restart(clock);
  }
  const std::deque<Transaction>& entries() const { return set.engine.record().entries(); }
  FakeClock clock;
  EngineSet<Port> set;
};

TEST(TransactionRecordTest, EveryMessageOfTheDesignsTransactionsIsOneEntryTimedOnTheClock) {
  Recording<SimulatedParallelPort> bus;
  bus.clock.time = 5ms;
  std::int16_t address = 0x42;
  bus.set.design.writeRegister(address, 0x12, 0x80);
  bus.clock.time = 7ms;
  EXPECT_TRUE(bus.set.design.readRegisters(address, 0x12, 1));
  bus.set.design.repeatedStartReads = true;
  bus.clock.time = 9ms;
  EXPECT_TRUE(bus.set.design.readRegisters(address, 0x00, 0));

  EXPECT_EQ(bus.entries(), (std::deque<Transaction>{
                               entry(5ms, 0x42, {0x12, 0x80}),
                               entry(7ms, 0x42, {0x12}),
                               entry(7ms, 0x43, {0x80, 0xE7}),
                               entry(9ms, 0x42, {0x00}),
                               entry(9ms, 0x43, {0x28}),
                           }));
}

TEST(TransactionRecordTest, OutcomesSayWhereTheAcknowledgeWasMissing) {
  struct ThreeAcks {
    void operator()(SimulatedBusConfig& c) const { c.stopAckingAfterBytes = 3; }
  };
  Recording<ConfiguredPort<ThreeAcks>> bus;
  // The address and two bytes are acknowledged, the third byte is not.
  const auto result = bus.set.engine.transfer({{0x42, false, {0x10, 0x01, 0x02, 0x03}}});
  EXPECT_EQ(result.messages[0].outcome, MessageOutcome::DataNotAcknowledged);
  std::int16_t nobody = 0x60;
  bus.set.design.readRegisters(nobody, 0x00, 0);

  EXPECT_EQ(bus.entries(), (std::deque<Transaction>{
                               entry(0ms, 0x42, {0x10, 0x01, 0x02, 0x03},
                                     MessageOutcome::DataNotAcknowledged, 2),
                               entry(0ms, 0x60, {0x00}, MessageOutcome::AddressNotAcknowledged),
                               entry(0ms, 0x61, {0xFF}, MessageOutcome::AddressNotAcknowledged),
                           }));
}

TEST(TransactionRecordTest, AClockHeldTooLongRecordsTheMessageAsTimedOut) {
  struct Overlong {
    void operator()(SimulatedBusConfig& c) const { c.clockStretchNs = 30'000'000; }
  };
  Recording<ConfiguredLines<Overlong>> bus;
  std::int16_t address = 0x42;
  EXPECT_THROW(bus.set.design.writeRegister(address, 0x10, 0x5A), base::RuntimeError);
  ASSERT_EQ(bus.entries().size(), 1u);
  EXPECT_EQ(bus.entries()[0].outcome, MessageOutcome::TimedOut);
  EXPECT_EQ(bus.entries()[0].bytes, (std::vector<std::uint8_t>{0x10, 0x5A}));
}

TEST(TransactionRecordTest, FollowsTheRunModeAndKeepsItsOwnBoundWhateverTheTraceKeeps) {
  Recording<SimulatedParallelPort> off(0);
  std::int16_t address = 0x42;
  off.set.design.writeRegister(address, 0x12, 0x80);
  EXPECT_TRUE(off.entries().empty());

  // Three lines of trace keep the last lines only; the record keeps every transaction.
  Recording<SimulatedParallelPort> bounded(1, 3.9);
  EXPECT_EQ(bounded.set.engine.record().bound(), bus::TransactionRecord::kDefaultBound);
  for (std::int16_t value = 1; value <= 5; ++value) {
    bounded.set.design.writeRegister(address, 0x12, value);
  }
  ASSERT_EQ(bounded.entries().size(), 5u);
  EXPECT_EQ(bounded.set.engine.record().dropped(), 0u);

  // A bound of its own drops the oldest, and counts them; below one it keeps the newest.
  const struct {
    std::size_t bound;
    std::size_t kept;
    std::size_t dropped;
    std::uint8_t oldest;
  } bounds[] = {{3, 3, 2, 0x03}, {0, 1, 4, 0x05}};
  for (const auto& c : bounds) {
    bounded.set.engine.record().setBound(c.bound);
    ASSERT_EQ(bounded.entries().size(), c.kept) << c.bound;
    EXPECT_EQ(bounded.set.engine.record().dropped(), c.dropped) << c.bound;
    EXPECT_EQ(bounded.entries().front().bytes, (std::vector<std::uint8_t>{0x12, c.oldest}));
  }
  bounded.set.design.writeRegister(address, 0x12, 0x06);
  ASSERT_EQ(bounded.entries().size(), 1u);
  EXPECT_EQ(bounded.entries().back().bytes, (std::vector<std::uint8_t>{0x12, 0x06}));

  int heard = 0;
  bounded.set.engine.record().setListener([&heard](const Transaction*) { ++heard; });
  bounded.set.engine.record().clear();
  EXPECT_TRUE(bounded.entries().empty());
  EXPECT_EQ(bounded.set.engine.record().dropped(), 0u);
  EXPECT_EQ(heard, 1);
}

// Each entry carries what its command said: a register command's format, the byte reads
// a command shows; messages no command noted carry nothing.
TEST(TransactionRecordTest, EachEntryCarriesTheNoteOfTheCommandThatSentIt) {
  Recording<SimulatedParallelPort> bus;
  bus::TransactionRecord& record = bus.set.engine.record();
  const i2c::RegisterFormat wide{2, 2};
  bus::writeRegister(bus.set.engine, 0x42, wide, 0x0012, 0x8081);
  bus::readRegisters(bus.set.engine, 0x42, wide, 0x0012, 1);
  std::int16_t address = 0x42;
  {
    const bus::NotedCommand shown(record, {i2c::kByteRegisters, 1});
    bus.set.design.readRegisters(address, 0x12, 1);
  }
  bus.set.design.writeRegister(address, 0x12, 0x80);

  const bus::CommandNote expected[] = {{wide, {}}, {wide, {}}, {wide, {}},
                                       {i2c::kByteRegisters, 1}, {i2c::kByteRegisters, 1}, {}};
  ASSERT_EQ(bus.entries().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(bus.entries()[i].command, expected[i]) << i;
  }
}

TEST(TransactionRecordTest, AnAdapterRecordsEachMessageOfItsCallsWithItsOutcome) {
  FakeI2cDevSystemCalls calls;
  calls.kernel.addAdapter(3, "CP2112 SMBus Bridge on hidraw0").devices[0x21];
  Recording<RecordingPort> bus;
  bus.set.core.useAdapter(std::make_unique<port::i2cdev::I2cDevAdapter>(3, calls));
  i2c::I2cMaster& master = bus.set.core.master();
  master.transfer(bus::registerWriteMessages(0x42, i2c::kByteRegisters, 0x12, 0x80));
  EXPECT_TRUE(
      master.transfer(bus::registerReadMessages(0x42, i2c::kByteRegisters, 0x12, 1)).acknowledged());
  master.transfer(bus::registerWriteMessages(0x60, i2c::kByteRegisters, 0x00, 0x01));

  auto adapted = [](Transaction transaction) {
    transaction.adapter = true;
    return transaction;
  };
  EXPECT_EQ(bus.entries(), (std::deque<Transaction>{
                               adapted(entry(0ms, 0x42, {0x12, 0x80})),
                               adapted(entry(0ms, 0x42, {0x12})),
                               adapted(entry(0ms, 0x43, {0x80})),
                               adapted(entry(0ms, 0x60, {0x00, 0x01}, MessageOutcome::NotAcknowledged)),
                           }));
}

}  // namespace
}  // namespace brelvion::testing
