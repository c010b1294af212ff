#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "registers/MapFiles.h"
#include "registers/MapWindowLogic.h"
#include "support/Sensor16Description.h"

namespace brelvion::registers {
namespace {

std::string whyNot(const RangeFields& fields) {
  const auto range = rangeFromFields(fields);
  const auto* why = std::get_if<std::string>(&range);
  return why != nullptr ? *why : "(a range)";
}

TEST(MapWindowLogicTest, TheRangeFieldsMakeAPlainRangeOrSayWhyNot) {
  RangeFields fields{"21", {2, 2, i2c::ByteOrder::LittleEndian}, "0200", "0207"};
  const auto range = rangeFromFields(fields);
  const auto& map = std::get<RegisterMap>(range);
  EXPECT_EQ(map.deviceAddress, std::uint8_t{0x20});
  EXPECT_EQ(map.format.order, i2c::ByteOrder::LittleEndian);
  EXPECT_EQ(map.registers.size(), 4u);

  EXPECT_EQ(whyNot({"2G", {1, 1}, "00", "FF"}), "The device address is one or two hex digits");
  EXPECT_EQ(whyNot({"42", {1, 1}, "00", "100"}),
            "First and Last are register addresses of up to 2 hex digits");
  EXPECT_EQ(whyNot({"42", {1, 1}, "10", "0F"}),
            "Last must come at least one 8-bit register after First");
  EXPECT_EQ(whyNot({"42", {2, 4}, "0000", "0002"}),
            "Last must come at least one 32-bit register after First");
  EXPECT_EQ(deviceFromText(" 43 "), std::uint8_t{0x42});
  EXPECT_FALSE(deviceFromText(""));
}

TEST(MapWindowLogicTest, AFieldEditStartsFromWhatIsKnownOfTheRegister) {
  RegisterTable table(loadRegisterMap(kExample));
  const std::size_t exposure = *table.map().indexOfAddress(0x0200);
  const std::size_t reset = *table.map().indexOfAddress(0x0103);
  const std::size_t chip = *table.map().indexOfAddress(0x0000);
  EXPECT_EQ(fieldEditBase(table, exposure), 0x03E8u);  // the default, before any read
  EXPECT_EQ(fieldEditBase(table, reset), 0u);          // no default either
  table.applyRead({0x0200, 2, exposure, 1}, {0x12, 0x34}, true);
  EXPECT_EQ(fieldEditBase(table, exposure), 0x1234u);
  table.applyWrite(reset, 0x01, std::nullopt);
  EXPECT_EQ(fieldEditBase(table, reset), 0x01u);
  EXPECT_EQ(registerTitle(table.map(), table.map().registers[chip]), "CHIP_ID (0000)");
}

TEST(MapWindowLogicTest, TheRefreshGoesRoundTheRunsWithAPauseAfterEachPass) {
  RefreshCycle cycle;
  EXPECT_TRUE(cycle.empty());
  EXPECT_FALSE(cycle.next());
  cycle.start({{0x10, 2, 0, 2}, {0x20, 1, 2, 1}});
  EXPECT_EQ(cycle.next()->start, 0x10u);
  EXPECT_EQ(cycle.next()->start, 0x20u);
  EXPECT_FALSE(cycle.next());
  EXPECT_EQ(cycle.next()->start, 0x10u);
}

TEST(MapWindowLogicTest, ComparisonTitlesSayWhatWasThenWhatIs) {
  EXPECT_EQ(comparisonTitle("base.snap", "live values", 0), "base.snap -> live values: no differences");
  EXPECT_EQ(comparisonTitle("a.snap", "b.snap", 1), "a.snap -> b.snap: 1 difference");
  EXPECT_EQ(comparisonTitle("the defaults", "live values", 3),
            "the defaults -> live values: 3 differences");
}

TEST(MapWindowLogicTest, OnlyWritesThatReachTheDevicesRegistersMarkThem) {
  using i2c::MessageOutcome;
  struct Case {
    std::vector<std::uint8_t> bytes;
    MessageOutcome outcome;
    std::size_t nackedByte;
    std::string marked;
  };
  const std::vector<Case> cases{
      {{0x02, 0x02, 0x00, 0x77, 0x05}, MessageOutcome::Acknowledged, 0,
       "ANALOG_GAIN=0077 DIGITAL_GAIN=05"},
      {{0x02, 0x03, 0x77}, MessageOutcome::Acknowledged, 0, "ANALOG_GAIN"},
      {{0x02, 0x02, 0x00, 0x77, 0x05}, MessageOutcome::DataNotAcknowledged, 3, "ANALOG_GAIN=0077"},
      {{0x02, 0x02}, MessageOutcome::Acknowledged, 0, ""},
      {{0x02, 0x02, 0x00, 0x77}, MessageOutcome::AddressNotAcknowledged, 0, ""},
  };
  for (const Case& c : cases) {
    bus::Transaction message;
    message.address = 0x20;
    message.bytes = c.bytes;
    message.outcome = c.outcome;
    message.nackedByte = c.nackedByte;
    RegisterTable table(loadRegisterMap(kExample));
    EXPECT_EQ(noteWriteElsewhere(table, 0x20, message), !c.marked.empty()) << c.marked;
    EXPECT_FALSE(noteWriteElsewhere(table, 0x42, message));
    std::string marked;
    for (std::size_t i = 0; i < table.map().registers.size(); ++i) {
      const RegisterState& state = table.state(i);
      if (!state.writtenElsewhere) continue;
      const Register& reg = table.map().registers[i];
      marked += (marked.empty() ? "" : " ") + reg.name;
      if (state.elsewhereValue) marked += "=" + valueHex(*state.elsewhereValue, reg.valueBytes);
    }
    EXPECT_EQ(marked, c.marked);
  }
}

}  // namespace
}  // namespace brelvion::registers
