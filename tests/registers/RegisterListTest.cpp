#include <gtest/gtest.h>

#include <string>

#include "base/RuntimeError.h"
#include "registers/RegisterList.h"

namespace brelvion::registers {
namespace {

std::string csvError(const std::string& text) {
  try {
    readRegisterList(text, "list.csv");
  } catch (const base::RuntimeError& error) {
    EXPECT_EQ(error.number(), 321);
    return error.description();
  }
  return "";
}

TEST(RegisterListTest, ASpreadsheetExportBecomesAMapNamedAfterTheFile) {
  const RegisterMap map = readRegisterList(
      "\xEF\xBB\xBF"
      "Address,Name,Width,Access,Default,Description\r\n"
      "0x0100,MODE_SELECT,8,RW,0x00,\"Standby or streaming, bit 0\"\r\n"
      "# a note the spreadsheet keeps\r\n"
      "0x0000, CHIP_ID ,16,ro,0xB716,\"The \"\"ID\"\"\r\nof the part\"\r\n"
      ",,,,,\r\n"
      "0x0103,SOFTWARE_RESET,,wo,,\r\n",
      "/maps/sensor.csv");
  EXPECT_EQ(map.deviceName, "sensor");
  EXPECT_FALSE(map.deviceAddress);
  EXPECT_EQ(map.format.addressBytes, 2);
  ASSERT_EQ(map.registers.size(), 3u);
  EXPECT_EQ(map.registers[0].name, "CHIP_ID");
  EXPECT_EQ(map.registers[0].valueBytes, 2);
  EXPECT_EQ(map.registers[0].access, Access::ReadOnly);
  EXPECT_EQ(map.registers[0].defaultValue, 0xB716u);
  EXPECT_EQ(map.registers[0].description, "The \"ID\"\nof the part");
  EXPECT_EQ(map.registers[1].description, "Standby or streaming, bit 0");
  EXPECT_EQ(map.registers[2].valueBytes, 1);
  EXPECT_EQ(map.registers[2].access, Access::WriteOnly);
  EXPECT_FALSE(map.registers[2].defaultValue);
}

TEST(RegisterListTest, SemicolonsAndTabsSeparateTooAndSmallAddressesMakeAnEightBitMap) {
  const RegisterMap semicolons = readRegisterList("0x10;A;8;rw;0x01;a, b\n0x11;B\n", "s.csv");
  EXPECT_EQ(semicolons.format.addressBytes, 1);
  EXPECT_EQ(semicolons.registers[0].description, "a, b");
  EXPECT_EQ(semicolons.registers[1].name, "B");
  const RegisterMap tabs = readRegisterList("16\tA\n17\tB\t16\n", "t.csv");
  EXPECT_EQ(tabs.registers[1].address, 17u);
  EXPECT_EQ(tabs.registers[1].valueBytes, 2);
}

TEST(RegisterListTest, WhatTheWriterWritesReadsBackTheSame) {
  const RegisterMap map = readRegisterList(
      "0x0100,MODE_SELECT,8,rw,0x00,\"two\nlines, \"\"quoted\"\"\"\n0x0200,EXPOSURE,16,ro,,\n",
      "m.csv");
  EXPECT_EQ(registerListText(map),
            "address,name,width,access,default,description\n"
            "0x0100,MODE_SELECT,8,rw,0x00,\"two\nlines, \"\"quoted\"\"\"\n"
            "0x0200,EXPOSURE,16,ro,,\"\"\n");
  EXPECT_EQ(readRegisterList(registerListText(map), "m.csv"), map);
}

TEST(RegisterListTest, EveryMistakeNamesFileLineAndColumn) {
  EXPECT_EQ(csvError(""), "list.csv:1:1: the list holds no registers");
  EXPECT_EQ(csvError("address,name\n"), "list.csv:1:1: the list holds no registers");
  EXPECT_EQ(csvError("0x10\n"), "list.csv:1:1: a row needs at least an address and a name");
  EXPECT_EQ(csvError("0x10,A,8,rw,0,text,extra\n"),
            "list.csv:1:20: a row has six cells at most: address, name, width, access, default, "
            "description");
  EXPECT_EQ(csvError("0x10,A\nten,B\n"),
            "list.csv:2:1: address wants a number (decimal, 0x1F or 1Fh) of up to 32 bits, not "
            "'ten'");
  EXPECT_EQ(csvError("0x10,A B\n"),
            "list.csv:1:6: register name 'A B' is not a name (a letter or _, then letters, "
            "digits and _)");
  EXPECT_EQ(csvError("0x10,A,12\n"), "list.csv:1:8: a register is 8, 16 or 32 bits wide, not 12");
  EXPECT_EQ(csvError("0x10,A,8,rx\n"), "list.csv:1:10: access is rw, ro or wo, not 'rx'");
  EXPECT_EQ(csvError("0x10,A,8,rw,0x100\n"),
            "list.csv:1:13: register A: default 100h is wider than 8 bits");
  EXPECT_EQ(csvError("0x10,A,8,rw,0,\"open\n"), "list.csv:1:15: a quoted cell is never closed");
  EXPECT_EQ(csvError("0x10,\"A\"B\n"), "list.csv:1:9: text after a quoted cell's closing quote");
  EXPECT_EQ(csvError("0x10,A\n0x11,a\n"), "list.csv:2:1: register name a is used twice (first at line 1)");
  EXPECT_EQ(csvError("0x10,A\n0x10,B\n"),
            "list.csv:2:1: register address 10 is used twice (first by A at line 1)");
  EXPECT_EQ(csvError("0x10,A,16\n0x11,B\n"),
            "list.csv:2:1: the 8-bit register at 11 overlaps the 16-bit register at 10 (A at "
            "line 1)");
  EXPECT_EQ(csvError("0x10,A,8,rw,0,\"bell\a\"\n"),
            "list.csv:1:15: the description holds a control character or text that is not UTF-8");
}

}  // namespace
}  // namespace brelvion::registers
