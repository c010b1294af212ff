#include <gtest/gtest.h>

#include <vector>

#include "base/RuntimeError.h"
#include "bus/RegisterAccess.h"
#include "support/EngineFixture.h"
#include "support/MasterWireDecoder.h"
#include "numconv/HexText.h"
#include "support/RaisesRuntimeError.h"

namespace brelvion::testing {
namespace {

using i2c::ByteOrder;
using i2c::RegisterFormat;

// A master that records what it is asked to send and answers every byte.
class RecordingMaster : public i2c::I2cMaster {
 public:
  i2c::TransferResult transfer(i2c::MessageSpan messages) override {
    sent.emplace_back(messages.begin(), messages.end());
    i2c::TransferResult result;
    for (const i2c::I2cMessage& message : messages) {
      i2c::MessageResult outcome;
      outcome.outcome = i2c::MessageOutcome::Acknowledged;
      for (std::size_t i = 0; message.read && i < message.readLength; ++i) {
        outcome.bytes.push_back(static_cast<std::uint8_t>(0xA0 + i));
      }
      result.messages.push_back(outcome);
    }
    return result;
  }
  std::vector<std::vector<i2c::I2cMessage>> sent;
};

// What each message puts on the wire, as "W42: 01 00 12 34 |stop" and "R43: 2 bytes".
std::vector<std::string> shown(i2c::MessageSpan messages) {
  std::vector<std::string> lines;
  for (const i2c::I2cMessage& message : messages) {
    std::string line = (message.read ? "R" : "W") + numconv::upperHex(message.address, 2) + ":";
    if (message.read) {
      line += " " + std::to_string(message.readLength) + " bytes";
    } else {
      for (std::uint8_t byte : message.bytes) line += " " + numconv::upperHex(byte, 2);
    }
    line += message.after == i2c::AfterMessage::Stop ? " |stop" : " |restart";
    lines.push_back(line);
  }
  return lines;
}

using Lines = std::vector<std::string>;

TEST(RegisterAccessTest, WritesPutTheAddressBytesThenTheValueInTheChosenOrder) {
  EXPECT_EQ(shown(bus::registerWriteMessages(0x43, {1, 1, ByteOrder::BigEndian}, 0x12, 0x80)),
            Lines{"W42: 12 80 |stop"});
  EXPECT_EQ(shown(bus::registerWriteMessages(0x20, {2, 1, ByteOrder::BigEndian}, 0x0100, 0x01)),
            Lines{"W20: 01 00 01 |stop"});
  EXPECT_EQ(shown(bus::registerWriteMessages(0x20, {2, 2, ByteOrder::BigEndian}, 0x0200, 0x03E8)),
            Lines{"W20: 02 00 03 E8 |stop"});
  // The register address keeps its order; only the value turns round.
  EXPECT_EQ(shown(bus::registerWriteMessages(0x20, {2, 2, ByteOrder::LittleEndian}, 0x0200, 0x03E8)),
            Lines{"W20: 02 00 E8 03 |stop"});
  EXPECT_EQ(shown(bus::registerWriteMessages(0x20, {1, 4, ByteOrder::BigEndian}, 0x10, 0x12345678)),
            Lines{"W20: 10 12 34 56 78 |stop"});
  EXPECT_EQ(shown(bus::registerWriteMessages(0x20, {1, 4, ByteOrder::LittleEndian}, 0x10, 0x12345678)),
            Lines{"W20: 10 78 56 34 12 |stop"});
  EXPECT_EQ(shown(bus::registerWriteMessages(0x20, {0, 2, ByteOrder::BigEndian}, 0, 0xBEEF)),
            Lines{"W20: BE EF |stop"});
}

TEST(RegisterAccessTest, ReadsSetThePointerThenReadEveryByteInOneMessage) {
  EXPECT_EQ(shown(bus::registerReadMessages(0x20, {2, 2, ByteOrder::BigEndian}, 0x0340, 8)),
            (Lines{"W20: 03 40 |stop", "R21: 8 bytes |stop"}));
  EXPECT_EQ(shown(bus::registerReadMessages(0x20, {2, 1, ByteOrder::BigEndian}, 0x0340, 2,
                                            i2c::AfterMessage::RepeatedStart)),
            (Lines{"W20: 03 40 |restart", "R21: 2 bytes |stop"}));
  EXPECT_EQ(shown(bus::registerReadMessages(0x21, {0, 1, ByteOrder::BigEndian}, 0, 3)),
            (Lines{"R21: 3 bytes |stop"}));
}

TEST(RegisterAccessTest, ValuesComeBackInTheirWidthAndOrder) {
  RecordingMaster master;
  const bus::RegisterRead big = bus::readRegisters(master, 0x20, {2, 2, ByteOrder::BigEndian}, 0, 2);
  EXPECT_EQ(big.bytes, (std::vector<std::uint8_t>{0xA0, 0xA1, 0xA2, 0xA3}));
  EXPECT_EQ(big.values, (std::vector<std::uint32_t>{0xA0A1, 0xA2A3}));
  EXPECT_TRUE(big.acknowledged());
  const bus::RegisterRead little =
      bus::readRegisters(master, 0x20, {2, 4, ByteOrder::LittleEndian}, 0, 1);
  EXPECT_EQ(little.values, (std::vector<std::uint32_t>{0xA3A2A1A0}));
  EXPECT_EQ(i2c::encodeValue(0xA3A2A1A0, 4, ByteOrder::LittleEndian),
            (std::vector<std::uint8_t>{0xA0, 0xA1, 0xA2, 0xA3}));
}

TEST(RegisterAccessTest, WhatDoesNotFitIsRefusedBeforeTheBusIsUsed) {
  RecordingMaster master;
  EXPECT_THAT([&] { bus::writeRegister(master, 0x20, {2, 1, ByteOrder::BigEndian}, 0x0100, 0x100); },
              raisesRuntimeError(5, "Value 100h does not fit 8 bits"));
  EXPECT_THAT([&] { bus::writeRegister(master, 0x20, {2, 2, ByteOrder::BigEndian}, 0x0100, 0x10000); },
              raisesRuntimeError(5, "Value 10000h does not fit 16 bits"));
  EXPECT_THAT([&] { bus::writeRegister(master, 0x20, {1, 1, ByteOrder::BigEndian}, 0x100, 0); },
              raisesRuntimeError(5, "Register 100h does not fit a 8-bit register address"));
  EXPECT_THAT([&] { bus::readRegisters(master, 0x20, {3, 1, ByteOrder::BigEndian}, 0, 1); },
              raisesRuntimeError(5, "A register address is 0, 1 or 2 bytes, not 3"));
  EXPECT_THAT([&] { bus::readRegisters(master, 0x20, {2, 3, ByteOrder::BigEndian}, 0, 1); },
              raisesRuntimeError(5, "A register value is 1, 2 or 4 bytes, not 3"));
  EXPECT_THAT([&] { bus::readRegisters(master, 0x20, {2, 1, ByteOrder::BigEndian}, 0, 0); },
              raisesRuntimeError(5, "A register read takes at least one byte"));
  EXPECT_TRUE(master.sent.empty());
}

// The design's one-byte transactions and the same register access as transfers: every
// port access and every trace line alike.
class ByteFormatTest : public ::testing::Test {
 protected:
  static void open(EngineSet<RecordingPort>& set) {
    set.engine.setBusDelay(0.001);
    set.port.reads = {0x0C};
    set.engine.openBus(0, 1);
    set.engine.initPort(10);
    set.port.log.clear();
    set.port.defaultRead = 0x00;
  }
  EngineSet<RecordingPort> design;
  EngineSet<RecordingPort> transfers;
};

TEST_F(ByteFormatTest, AWriteIsTheDesignsWriteRegister) {
  open(design);
  open(transfers);
  std::int16_t address = 0x42;
  design.design.writeRegister(address, 0x12, 0x80);
  bus::writeRegister(transfers.engine, 0x42, i2c::kByteRegisters, 0x12, 0x80);
  EXPECT_EQ(transfers.port.log, design.port.log);
  EXPECT_EQ(transfers.traceLines(), design.traceLines());
}

TEST_F(ByteFormatTest, AReadIsTheDesignsSetRegisterPointerThenReadSequential) {
  open(design);
  open(transfers);
  std::int16_t address = 0x42;
  design.design.setRegisterPointer(address, 0xF8);
  design.design.readSequential(address, 3);
  const bus::RegisterRead read =
      bus::readRegisters(transfers.engine, 0x42, i2c::kByteRegisters, 0xF8, 4);
  EXPECT_EQ(transfers.port.log, design.port.log);
  EXPECT_EQ(transfers.traceLines(), design.traceLines());
  EXPECT_EQ(masterWire(transfers.port.log),
            wire({"S", sentByte(0x42), sentByte(0xF8), "0P", "S", sentByte(0x43), "11111111",
                  "0", "11111111", "0", "11111111", "0", "11111111", "0P"}));
  EXPECT_EQ(read.values.size(), 4u);
}

}  // namespace
}  // namespace brelvion::testing
