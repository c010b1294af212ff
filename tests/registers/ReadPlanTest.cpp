#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "registers/ReadPlan.h"

namespace brelvion::registers {
namespace {

Register reg(std::uint32_t address, int valueBytes = 1, Access access = Access::ReadWrite) {
  Register r;
  r.name = "R" + std::to_string(address);
  r.address = address;
  r.valueBytes = valueBytes;
  r.access = access;
  return r;
}

RegisterMap mapOf(std::vector<Register> registers, int addressBytes = 2) {
  RegisterMap map;
  map.format.addressBytes = addressBytes;
  map.registers = std::move(registers);
  return map;
}

TEST(ReadPlanTest, ContiguousRegistersOfAnyWidthAreOneRead) {
  const RegisterMap map = mapOf({reg(0x0000, 2), reg(0x0002), reg(0x0003), reg(0x0004, 4)});
  EXPECT_EQ(planReadAll(map, kI2cDevMessageLimit), (std::vector<ReadRun>{{0x0000, 8, 0, 4}}));
}

TEST(ReadPlanTest, ReadsSplitAtGapsAtWriteOnlyRegistersAndAtTheLimit) {
  const RegisterMap map = mapOf({reg(0x0000, 2, Access::ReadOnly), reg(0x0002), reg(0x0005),
                                 reg(0x0100), reg(0x0101, 1, Access::WriteOnly), reg(0x0102),
                                 reg(0x0200, 2), reg(0x0202, 2), reg(0x0204, 2)});
  EXPECT_EQ(planReadAll(map, kI2cDevMessageLimit),
            (std::vector<ReadRun>{{0x0000, 3, 0, 2},
                                  {0x0005, 1, 2, 1},
                                  {0x0100, 1, 3, 1},
                                  {0x0102, 1, 5, 1},
                                  {0x0200, 6, 6, 3}}));
  EXPECT_EQ(planReadAll(map, 4),
            (std::vector<ReadRun>{{0x0000, 3, 0, 2},
                                  {0x0005, 1, 2, 1},
                                  {0x0100, 1, 3, 1},
                                  {0x0102, 1, 5, 1},
                                  {0x0200, 4, 6, 2},
                                  {0x0204, 2, 8, 1}}));
  // A limit below a register's width still reads it whole.
  EXPECT_EQ(planReads(map, {6}, 1), (std::vector<ReadRun>{{0x0200, 2, 6, 1}}));
}

TEST(ReadPlanTest, OnlyTheChosenRegistersAreReadInAddressOrder) {
  const RegisterMap map = mapOf({reg(0x10), reg(0x11), reg(0x12), reg(0x13)}, 1);
  EXPECT_EQ(planReads(map, {3, 0, 1, 1, 9}, 64),
            (std::vector<ReadRun>{{0x10, 2, 0, 2}, {0x13, 1, 3, 1}}));
  EXPECT_TRUE(planReads(map, {}, 64).empty());
}

TEST(ReadPlanTest, WithoutRegisterAddressesEachRegisterIsItsOwnRead) {
  EXPECT_EQ(planReadAll(mapOf({reg(0, 2)}, 0), 64), (std::vector<ReadRun>{{0, 2, 0, 1}}));
}

TEST(ReadPlanTest, AThousandRegistersInTenRunsAreTenReads) {
  std::vector<Register> registers;
  for (std::uint32_t run = 0; run < 10; ++run) {
    for (std::uint32_t i = 0; i < 100; ++i) registers.push_back(reg(run * 0x200 + i));
  }
  EXPECT_EQ(planReadAll(mapOf(registers), kI2cDevMessageLimit).size(), 10u);
  EXPECT_EQ(planReadAll(mapOf(registers), 32).size(), 40u);
}

}  // namespace
}  // namespace brelvion::registers
