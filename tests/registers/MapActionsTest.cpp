#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "numconv/HexText.h"
#include "simulator/SimulatedParallelPort.h"
#include "registers/MapActions.h"
#include "registers/MapFiles.h"
#include "support/EngineFixture.h"
#include "support/RaisesRuntimeError.h"
#include "support/Sensor16Description.h"

// The register map's bus actions on the simulated 16-bit sensor, through the engine.
namespace brelvion::registers {
namespace {

struct Sensor16Port : simulator::SimulatedParallelPort {
  static simulator::SimulatedBusConfig config() {
    simulator::SimulatedBusConfig config;
    config.sensor16Addresses = {0x20};
    return config;
  }
  Sensor16Port() : SimulatedParallelPort(config()) {}
};

// Passes transfers on to the engine and writes each down as "W20 01 00 |R21 x2".
class WatchedMaster : public i2c::I2cMaster {
 public:
  explicit WatchedMaster(i2c::I2cMaster& inner) : inner_(inner) {}
  i2c::TransferResult transfer(i2c::MessageSpan messages) override {
    std::string line;
    for (const i2c::I2cMessage& message : messages) {
      if (!line.empty()) line += " |";
      line += (message.read ? "R" : "W") + numconv::upperHex(message.address, 2);
      if (message.read) line += " x" + std::to_string(message.readLength);
      for (std::uint8_t byte : message.bytes) line += " " + numconv::upperHex(byte, 2);
    }
    transfers.push_back(line);
    return inner_.transfer(messages);
  }
  std::vector<std::string> transfers;

 private:
  i2c::I2cMaster& inner_;
};

class MapActionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    set.engine.setBusDelay(0.001);
    set.engine.openBus(0, 0);
    set.engine.initPort(10);
  }
  std::size_t indexOf(const char* name) const {
    return *table.map().indexOfAddress(table.map().findByName(name)->address);
  }
  std::string valueOf(const char* name) const {
    return table.cellText(*table.rowOf(indexOf(name)), Column::Value);
  }
  ReadOutcome readAll() {
    return readRuns(master, 0x20, table, planReadAll(table.map(), kI2cDevMessageLimit));
  }

  testing::EngineSet<Sensor16Port> set;
  WatchedMaster master{set.engine};
  RegisterTable table{loadRegisterMap(kExample)};
};

TEST_F(MapActionsTest, ReadAllReadsEachContiguousRunOnceAndNeverAWriteOnlyRegister) {
  const ReadOutcome outcome = readAll();
  EXPECT_EQ(master.transfers, (std::vector<std::string>{
                                  "W20 00 00 |R21 x4",   // CHIP_ID to FRAME_COUNT
                                  "W20 00 05 |R21 x1",   // STATUS, after the gap at 0004
                                  "W20 01 00 |R21 x2",   // MODE_SELECT, ORIENTATION
                                  "W20 02 00 |R21 x5",   // EXPOSURE to DIGITAL_GAIN
                                  "W20 03 00 |R21 x3",   // PLL
                                  "W20 03 40 |R21 x12",  // frame and window
                                  "W20 06 00 |R21 x1",   // TEST_PATTERN
                              }));
  EXPECT_EQ(readText(outcome), "Read 18 registers in 7 reads");
  EXPECT_EQ(valueOf("CHIP_ID"), "B716");
  EXPECT_EQ(valueOf("EXPOSURE"), "03E8");
  EXPECT_EQ(valueOf("SOFTWARE_RESET"), "");
  EXPECT_TRUE(compareValues(table.liveValues(), defaultValues(table.map()), CompareScope::Common)
                  .empty());
}

TEST_F(MapActionsTest, ASnapshotShowsExactlyWhatChangedAndWritingItBackUndoesIt) {
  readAll();
  const Snapshot before = table.snapshot("2025-03-04 10:22:31 +0100", 0x20);
  EXPECT_EQ(before.values.size(), 18u);

  writeAndCheck(master, 0x20, table, indexOf("EXPOSURE"), 0x0123);
  writeAndCheck(master, 0x20, table, indexOf("TEST_PATTERN"), 0x02);
  writeAndCheck(master, 0x20, table, indexOf("ORIENTATION"), 0x03);
  readAll();
  std::vector<std::string> listed;
  for (const Difference& difference : compareValues(before.values, table.liveValues())) {
    listed.push_back(differenceText(difference, 2));
  }
  EXPECT_EQ(listed, (std::vector<std::string>{"0101 ORIENTATION: 00 -> 03",
                                              "0200 EXPOSURE: 03E8 -> 0123",
                                              "0600 TEST_PATTERN: 00 -> 02"}));

  // Through the file, as the window does it.
  const WriteBackPlan plan = planWriteBack(table.map(), readSnapshot(snapshotText(before), "s"));
  EXPECT_EQ(plan.writes.size(), 14u);  // every register but the four read-only ones
  master.transfers.clear();
  const WriteBackOutcome outcome = writeBack(master, 0x20, table, plan);
  EXPECT_EQ(master.transfers.front(), "W20 01 00 00");
  EXPECT_EQ(master.transfers.at(2), "W20 02 00 03 E8");
  EXPECT_EQ(master.transfers.back(), "W20 06 00 00");
  EXPECT_EQ(writeBackText(outcome), "Wrote 14 registers back; 4 values left out (read-only, or no such register here)");
  readAll();
  EXPECT_TRUE(compareValues(table.liveValues(), before.values).empty());
}

TEST_F(MapActionsTest, AWriteIsReadBackAndAValueThatDidNotStickIsFlagged) {
  const std::size_t exposure = indexOf("EXPOSURE");
  const WriteOutcome good = writeAndCheck(master, 0x20, table, exposure, 0x0500);
  EXPECT_EQ(master.transfers, (std::vector<std::string>{"W20 02 00 05 00", "W20 02 00 |R21 x2"}));
  EXPECT_EQ(writeText(table.map(), exposure, 0x0500, good),
            "EXPOSURE (0200) = 0500: written and read back");

  // A reset leaves the sensor deaf to writes for a while.
  const std::size_t reset = indexOf("SOFTWARE_RESET");
  master.transfers.clear();
  const WriteOutcome resetting = writeAndCheck(master, 0x20, table, reset, 0x01);
  EXPECT_EQ(master.transfers, std::vector<std::string>{"W20 01 03 01"});
  EXPECT_EQ(writeText(table.map(), reset, 0x01, resetting),
            "SOFTWARE_RESET (0103) = 01: written (write-only, so not read back)");
  const WriteOutcome lost = writeAndCheck(master, 0x20, table, exposure, 0x0500);
  EXPECT_EQ(writeText(table.map(), exposure, 0x0500, lost),
            "EXPOSURE (0200) = 0500: written, but it reads 03E8: the write did not stick");
  EXPECT_EQ(table.markText(exposure), "C !");

  master.transfers.clear();
  EXPECT_THAT([&] { writeAndCheck(master, 0x20, table, indexOf("CHIP_ID"), 0x1234); },
              testing::raisesRuntimeError(5, "CHIP_ID (0000) is read-only: it is never written"));
  EXPECT_THAT([&] { writeAndCheck(master, 0x20, table, indexOf("MODE_SELECT"), 0x100); },
              testing::raisesRuntimeError(5, "Value 100h does not fit 8 bits"));
  EXPECT_TRUE(master.transfers.empty());

  const WriteOutcome nobody = writeAndCheck(master, 0x30, table, exposure, 0x0500);
  EXPECT_EQ(writeText(table.map(), exposure, 0x0500, nobody),
            "EXPOSURE (0200) = 0500: the write was not acknowledged");
}

TEST_F(MapActionsTest, TheChipIdCheckSaysPlainlyWhichDeviceAnswers) {
  const RegisterMap& map = table.map();
  const ChipIdOutcome ours = checkChipId(master, 0x20, map);
  EXPECT_EQ(master.transfers, std::vector<std::string>{"W20 00 00 |R21 x2"});
  EXPECT_EQ(chipIdText(map, 0x20, ours), "Chip ID 0000 reads B716: this is the SIM16 camera sensor");
  RegisterMap other = map;
  other.chipId->expected = 0x1234;
  EXPECT_EQ(chipIdText(other, 0x20, checkChipId(master, 0x20, other)),
            "Chip ID 0000 reads B716, not 1234: this is not the SIM16 camera sensor");
  EXPECT_EQ(chipIdText(map, 0x30, checkChipId(master, 0x30, map)),
            "Chip ID: no device acknowledged at 30, so it cannot be told whether it is the SIM16 "
            "camera sensor");
}

}  // namespace
}  // namespace brelvion::registers
