#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "registers/DescriptionReader.h"
#include "registers/DescriptionWriter.h"
#include "registers/MapFiles.h"
#include "support/RaisesRuntimeError.h"
#include "support/Sensor16Description.h"

namespace brelvion::registers {
namespace {

using testing::raisesRuntimeError;


// The error text for a description, or "" when it loads.
std::string errorOf(const std::string& text) {
  try {
    readDescription(text, "d.yaml");
  } catch (const base::RuntimeError& error) {
    EXPECT_EQ(error.number(), 321);
    return error.description();
  }
  return "";
}

// A description around some register lines.
std::string withRegisters(const std::string& registers) {
  return "device: test\nregister-bits: 16\nregisters:\n" + registers;
}

TEST(DescriptionReaderTest, TheShippedExampleDescribesTheSimulatedSensor) {
  const RegisterMap map = loadRegisterMap(kExample);
  EXPECT_EQ(map.deviceName, "SIM16 camera sensor");
  EXPECT_EQ(map.deviceAddress, std::uint8_t{0x20});
  EXPECT_EQ(map.format.addressBytes, 2);
  EXPECT_EQ(map.format.valueBytes, 1);
  ASSERT_TRUE(map.chipId);
  EXPECT_EQ(*map.chipId, (ChipIdCheck{0x0000, 2, 0xB716}));
  ASSERT_EQ(map.registers.size(), 19u);
  const Register* mode = map.findByName("mode_select");
  ASSERT_NE(mode, nullptr);
  EXPECT_EQ(mode->address, 0x0100u);
  EXPECT_EQ(mode->valueBytes, 1);
  ASSERT_EQ(mode->fields.size(), 1u);
  EXPECT_EQ(mode->fields[0].values,
            (std::vector<NamedValue>{{"standby", 0}, {"streaming", 1}}));
  const Register* reset = map.findByName("SOFTWARE_RESET");
  ASSERT_NE(reset, nullptr);
  EXPECT_EQ(reset->access, Access::WriteOnly);
  EXPECT_FALSE(reset->defaultValue);
  EXPECT_EQ(reset->description, "Writing 1 restores every register to its default.");
  EXPECT_EQ(map.findByName("TEST_PATTERN")->fields[0].msb, 2);
  EXPECT_EQ(map.findByAddress(0x0200)->name, "EXPOSURE");
  EXPECT_EQ(map.findByAddress(0x0200)->valueBytes, 2);
}

TEST(DescriptionReaderTest, WhatTheWriterWritesReadsBackTheSame) {
  const RegisterMap map = loadRegisterMap(kExample);
  EXPECT_EQ(readDescription(descriptionText(map), "again.yaml"), map);
  RegisterMap little = map;
  little.format.order = i2c::ByteOrder::LittleEndian;
  little.deviceAddress.reset();
  little.registers[0].description = "two\nlines, \"quoted\" and: colons";
  little.registers[0].name = "null";
  EXPECT_EQ(readDescription(descriptionText(little), "again.yaml"), little);
}

TEST(DescriptionReaderTest, RegistersListedInAnyOrderEndUpInAddressOrder) {
  const RegisterMap map = readDescription(withRegisters("  - {name: B, address: 0x0200}\n"
                                                        "  - {name: A, address: 0x0100}\n"),
                                          "d.yaml");
  EXPECT_EQ(map.registers[0].name, "A");
  EXPECT_EQ(map.registers[1].name, "B");
  EXPECT_EQ(map.format.addressBytes, 2);
  EXPECT_EQ(map.registers[0].access, Access::ReadWrite);
}

TEST(DescriptionReaderTest, EveryMistakeNamesFileLineAndColumn) {
  EXPECT_EQ(errorOf(""), "d.yaml:1:1: the description is empty");
  EXPECT_EQ(errorOf("device: [unclosed\n"),
            "d.yaml:2:1: not YAML: end of sequence flow not found");
  EXPECT_EQ(errorOf("device: a\nregisters: []\n---\ndevice: b\n"),
            "d.yaml:3:1: text after the end of the description (a description is one YAML "
            "document)");
  // yaml-cpp 0.7 loops for ever on these when asked for every document.
  EXPECT_EQ(errorOf(","), "d.yaml:1:1: the description is not a mapping of keys and values");
  EXPECT_EQ(errorOf("{device: x, registers: [{name: A, address: 1}]},"),
            "d.yaml:1:48: text after the end of the description (a description is one YAML "
            "document)");
  EXPECT_EQ(errorOf("# only a comment\n\n"), "d.yaml:1:1: the description is empty");
  EXPECT_EQ(errorOf("device: x\nregister-bit: 16\nregisters: []\n"),
            "d.yaml:2:1: unknown key 'register-bit' in the description (known keys: device, "
            "i2c-address, register-bits, value-bits, byte-order, chip-id, registers)");
  EXPECT_EQ(errorOf("device: x\ndevice: y\n"),
            "d.yaml:2:1: key 'device' is given twice in the description (first at line 1)");
  EXPECT_EQ(errorOf("registers: []\n"), "d.yaml:1:1: the description has no 'device' name");
  EXPECT_EQ(errorOf("device: x\n"), "d.yaml:1:1: the description has no 'registers' list");
  EXPECT_EQ(errorOf("device: x\nregisters: []\n"), "d.yaml:2:12: the registers list is empty");
  EXPECT_EQ(errorOf("device: x\ni2c-address: 0x21\nregisters: []\n"),
            "d.yaml:2:14: i2c-address is the 8-bit write address, even and at most 0xFE, not 21h");
  EXPECT_EQ(errorOf("device: x\nregister-bits: 12\nregisters: []\n"),
            "d.yaml:2:16: register-bits is 0, 8 or 16, not 12");
  EXPECT_EQ(errorOf("device: x\nbyte-order: middle\nregisters: []\n"),
            "d.yaml:2:13: byte-order is big or little, not 'middle'");
  EXPECT_EQ(errorOf("device: x\nvalue-bits: twelve\nregisters: []\n"),
            "d.yaml:2:13: value-bits wants a number (decimal, 0x1F or 1Fh) of up to 32 bits, "
            "not 'twelve'");
}

TEST(DescriptionReaderTest, TextNestedFarDeeperThanADescriptionIsRefusedBeforeItParses) {
  EXPECT_EQ(errorOf("device: " + std::string(20, '[')),
            "d.yaml:1:25: nested deeper than a description nests");
  std::string steps = "device: x\nregisters:\n";
  for (int level = 0; level < 40; ++level) steps += "- ";
  EXPECT_EQ(errorOf(steps + "a\n"), "d.yaml:3:65: indented deeper than a description nests");
  // Inside quotes and comments, brackets are text.
  const std::string quoted = "device: \"" + std::string(20, '[') + "\"  # " +
                             std::string(20, '{') + "\nregisters:\n  - {name: A, address: 1}\n";
  EXPECT_EQ(readDescription(quoted, "d.yaml").deviceName, std::string(20, '['));
}

TEST(DescriptionReaderTest, RegisterMistakesNameTheRegisterAndWhereItIs) {
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: 0x10, colour: red}\n")),
            "d.yaml:4:30: unknown key 'colour' in a register (known keys: name, address, "
            "width, access, default, description, fields)");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: 0x10}\n  - {name: a, address: 0x20}\n")),
            "d.yaml:5:5: register name a is used twice (first at line 4)");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: 0x10}\n  - {name: B, address: 0x10}\n")),
            "d.yaml:5:5: register address 0010 is used twice (first by A at line 4)");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: 0x10, width: 32}\n"
                                  "  - {name: B, address: 0x12, width: 16}\n")),
            "d.yaml:5:5: the 16-bit register at 0012 overlaps the 32-bit register at 0010 "
            "(A at line 4)");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: 0x10, default: 0x1FF}\n")),
            "d.yaml:4:39: register A: default 1FFh is wider than 8 bits");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: 0x10, width: 12}\n")),
            "d.yaml:4:37: a register is 8, 16 or 32 bits wide, not 12");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: 0x10000}\n")),
            "d.yaml:4:24: register address 10000h does not fit 16-bit register addresses");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: 0xFFFF, width: 16}\n")),
            "d.yaml:4:24: a 16-bit register at FFFF runs past the last register address FFFF");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: 0x10, access: rx}\n")),
            "d.yaml:4:38: access is rw, ro or wo, not 'rx'");
  EXPECT_EQ(errorOf(withRegisters("  - {name: 2A, address: 0x10}\n")),
            "d.yaml:4:12: register name '2A' is not a name (a letter or _, then letters, "
            "digits and _)");
  EXPECT_EQ(errorOf(withRegisters("  - {address: 0x10}\n")), "d.yaml:4:5: a register without a name");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A}\n")), "d.yaml:4:5: register A has no address");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: }\n")),
            "d.yaml:4:15: address wants a value");
  EXPECT_EQ(errorOf(withRegisters("  - {name: A, address: [1, 2]}\n")),
            "d.yaml:4:24: address wants a single value, not a list or mapping");
}

TEST(DescriptionReaderTest, FieldMistakesNameTheFieldAndWhereItIs) {
  const std::string head = "  - name: A\n    address: 0x10\n    fields:\n";
  EXPECT_EQ(errorOf(withRegisters(head + "      - {name: F, bits: 8}\n")),
            "d.yaml:7:25: register A: field F (bits 8:8) lies outside its 8-bit register");
  EXPECT_EQ(errorOf(withRegisters(head + "      - {name: F, bits: 3:5}\n")),
            "d.yaml:7:25: register A: field F: bits 3:5 go the wrong way (high bit first)");
  EXPECT_EQ(errorOf(withRegisters(head + "      - {name: F, bits: 7:x}\n")),
            "d.yaml:7:25: bits is one bit (5) or a range high:low (7:4) of bits 0 to 31, not "
            "'7:x'");
  EXPECT_EQ(errorOf(withRegisters(head + "      - {name: F, bits: 1:0, values: {a: 0, b: 4}}\n")),
            "d.yaml:7:38: register A: field F: b: value 4h is wider than 2 bits");
  EXPECT_EQ(errorOf(withRegisters(head + "      - {name: F, bits: 0, values: {a: 0, a: 1}}\n")),
            "d.yaml:7:36: register A: field F: the value name a is used twice");
  EXPECT_EQ(errorOf(withRegisters(head + "      - {name: F, bits: 3:0}\n      - {name: G, bits: 4:3}\n")),
            "d.yaml:8:9: field G shares bits with field F");
  EXPECT_EQ(errorOf(withRegisters(head + "      - {name: F, bits: 0}\n      - {name: f, bits: 1}\n")),
            "d.yaml:8:9: field name f is used twice in the register");
  EXPECT_EQ(errorOf(withRegisters(head + "      - {name: F, bit: 0}\n")),
            "d.yaml:7:19: unknown key 'bit' in a field (known keys: name, bits, description, "
            "values)");
}

TEST(DescriptionReaderTest, TheChipIdCheckNamesARegisterOrAnAddress) {
  const std::string registers = "  - {name: ID, address: 0x10, width: 16, access: ro}\n"
                                "  - {name: GO, address: 0x20, access: wo}\n";
  auto withChipId = [&](const std::string& chip) {
    return "device: t\nregister-bits: 16\nchip-id: " + chip + "\nregisters:\n" + registers;
  };
  EXPECT_EQ(readDescription(withChipId("{register: ID, value: 0x1234}"), "d.yaml").chipId,
            (ChipIdCheck{0x10, 2, 0x1234}));
  EXPECT_EQ(readDescription(withChipId("{register: 0x30, value: 0x12}"), "d.yaml").chipId,
            (ChipIdCheck{0x30, 1, 0x12}));
  EXPECT_EQ(errorOf(withChipId("{register: NOPE, value: 1}")),
            "d.yaml:3:21: chip-id register 'NOPE' is no register of the list");
  EXPECT_EQ(errorOf(withChipId("{register: GO, value: 1}")),
            "d.yaml:3:21: chip-id register GO is write-only");
  EXPECT_EQ(errorOf(withChipId("{register: ID, value: 0x12345}")),
            "d.yaml:3:32: chip-id value 12345h is wider than 16 bits");
  EXPECT_EQ(errorOf(withChipId("{register: ID}")), "d.yaml:3:10: chip-id gives no value");
}

TEST(DescriptionReaderTest, AFileThatCannotBeReadIsNamedWithTheSystemsReason) {
  EXPECT_THAT([] { loadRegisterMap("/no/such/dir/map.yaml"); },
              raisesRuntimeError(53, "Cannot read /no/such/dir/map.yaml: No such file or directory"));
}

}  // namespace
}  // namespace brelvion::registers
