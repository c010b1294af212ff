#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registers/Fields.h"
#include "registers/MapFiles.h"
#include "registers/RegisterTable.h"
#include "support/RaisesRuntimeError.h"
#include "support/Sensor16Description.h"

namespace brelvion::registers {
namespace {

std::vector<std::string> namesShown(const RegisterTable& table) {
  std::vector<std::string> names;
  for (std::size_t row = 0; row < table.rowCount(); ++row) {
    names.push_back(table.cellText(row, Column::Name));
  }
  return names;
}

TEST(RegisterTableTest, TheFilterFindsNamesInAnyCaseAndAddressesByTheirStart) {
  RegisterTable table(loadRegisterMap(kExample));
  EXPECT_EQ(table.rowCount(), 19u);
  table.setFilter("addr_");
  EXPECT_EQ(namesShown(table),
            (std::vector<std::string>{"X_ADDR_START", "Y_ADDR_START", "X_ADDR_END", "Y_ADDR_END"}));
  table.setFilter(" 01");
  EXPECT_EQ(namesShown(table),
            (std::vector<std::string>{"MODE_SELECT", "ORIENTATION", "SOFTWARE_RESET"}));
  table.setFilter("0x034");
  EXPECT_EQ(table.rowCount(), 6u);
  EXPECT_EQ(table.rowOf(table.map().indexOfAddress(0x0342).value()), 1u);
  EXPECT_FALSE(table.rowOf(0));
  table.setFilter("");
  EXPECT_EQ(table.rowCount(), 19u);
}

TEST(RegisterTableTest, CellsAndMarksFollowReadsAndWrites) {
  RegisterTable table(loadRegisterMap(kExample));
  const std::size_t exposure = *table.map().indexOfAddress(0x0200);
  const std::size_t row = *table.rowOf(exposure);
  EXPECT_EQ(table.cellText(row, Column::Address), "0200");
  EXPECT_EQ(table.cellText(row, Column::Width), "16");
  EXPECT_EQ(table.cellText(row, Column::Access), "rw");
  EXPECT_EQ(table.cellText(row, Column::Value), "");
  EXPECT_EQ(table.cellText(row, Column::Default), "03E8");
  EXPECT_EQ(table.cellText(row, Column::Mark), "");

  const ReadRun run{0x0200, 4, exposure, 2};
  table.applyRead(run, {0x03, 0xE8, 0x00, 0x10}, true);
  EXPECT_EQ(table.cellText(row, Column::Value), "03E8");
  EXPECT_FALSE(table.marks(exposure).any());
  table.applyRead(run, {0x05, 0x00, 0x00, 0x10}, true);
  EXPECT_EQ(table.cellText(row, Column::Value), "0500");
  EXPECT_EQ(table.cellText(row, Column::Mark), "D C");
  EXPECT_EQ(table.markExplanation(exposure),
            "D: differs from its default 03E8\nC: the last read changed it from 03E8");
  table.applyRead(run, {}, false);
  EXPECT_EQ(table.cellText(row, Column::Value), "0500");
  EXPECT_EQ(table.cellText(row, Column::Mark), "D C ?");

  table.applyWrite(exposure, 0x0600, 0x0500);
  EXPECT_EQ(table.cellText(row, Column::Mark), "D !");
  EXPECT_EQ(table.markExplanation(exposure),
            "D: differs from its default 03E8\n!: 0600 was written but did not stick");
  table.applyWrite(exposure, 0x03E8, 0x03E8);
  EXPECT_EQ(table.cellText(row, Column::Mark), "C");
  table.setComparison({{0x0200, "EXPOSURE", 2, 1, 2}});
  EXPECT_EQ(table.cellText(row, Column::Mark), "C S");
  table.setComparison({});
  EXPECT_EQ(table.cellText(row, Column::Mark), "C");

  // A write-only register shows what was written, as it is never read.
  const std::size_t reset = *table.map().indexOfAddress(0x0103);
  table.applyWrite(reset, 0x01, std::nullopt);
  EXPECT_EQ(table.cellText(*table.rowOf(reset), Column::Value), "01");
  EXPECT_EQ(table.liveValues(), (std::vector<RegisterValue>{{0x0200, "EXPOSURE", 2, 0x03E8},
                                                            {0x0202, "ANALOG_GAIN", 2, 0x0010}}));
}

TEST(RegisterTableTest, FieldsDecodeAndEncodeByTheirBits) {
  const RegisterMap map = loadRegisterMap(kExample);
  const Field& mode = map.findByName("TEST_PATTERN")->fields[0];
  EXPECT_EQ(fieldValue(0xFA, mode), 2u);
  EXPECT_EQ(fieldValueText(mode, 2), "2 (colour bars)");
  EXPECT_EQ(fieldValueText(mode, 7), "7");
  EXPECT_EQ(withFieldValue(0xF8, mode, 4), 0xFCu);
  EXPECT_EQ(fieldBitsText(mode), "2:0");
  EXPECT_THAT([&] { withFieldValue(0, mode, 8); },
              testing::raisesRuntimeError(5, "Field MODE takes 3 bits; 8h does not fit"));
  Field wide{"WIDE", 31, 4, "", {}};
  EXPECT_EQ(fieldValue(0xFFFFFFF5, wide), 0x0FFFFFFFu);
  EXPECT_EQ(withFieldValue(0x5, wide, 0x0ABCDEF0), 0xABCDEF05u);
  EXPECT_EQ(fieldValueText(wide, 0x0ABCDEF0), "ABCDEF0h");
  EXPECT_EQ(decodedFieldLines(*map.findByName("STATUS"), 0x01),
            (std::vector<std::string>{"  READY      bit 0     1 (ready)",
                                      "  STREAMING  bit 1     0 (standby)"}));
}

TEST(RegisterTableTest, TypedValuesKeepToTheirWidth) {
  EXPECT_EQ(valueFromText("3e8", 2), 0x3E8u);
  EXPECT_EQ(valueFromText(" 0x03E8 ", 2), 0x3E8u);
  EXPECT_EQ(valueFromText("3E8h", 2), 0x3E8u);
  EXPECT_EQ(valueFromText("12345678", 4), 0x12345678u);
  EXPECT_FALSE(valueFromText("100", 1));
  EXPECT_FALSE(valueFromText("", 1));
  EXPECT_FALSE(valueFromText("xy", 1));
}

TEST(RegisterTableTest, APlainRangeHasNamelessReadWriteRegistersOfOneWidth) {
  const RegisterMap range = plainRange(0x43, {2, 2, i2c::ByteOrder::LittleEndian}, 0x0100, 0x0107);
  EXPECT_EQ(range.deviceAddress, std::uint8_t{0x42});
  ASSERT_EQ(range.registers.size(), 4u);
  EXPECT_EQ(range.registers[3].address, 0x0106u);
  EXPECT_EQ(range.registers[3].valueBytes, 2);
  EXPECT_THAT([] { plainRange(0x42, i2c::kByteRegisters, 0x10, 0x100); },
              testing::raisesRuntimeError(
                  5, "Registers 10 to 100 are no range of 8-bit registers with 8-bit addresses"));
}

}  // namespace
}  // namespace brelvion::registers
