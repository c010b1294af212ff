#include <gtest/gtest.h>

#include <chrono>

#include "trace/TransactionText.h"

namespace brelvion::trace {
namespace {

using namespace std::chrono_literals;
using bus::Transaction;
using i2c::MessageOutcome;

Transaction entry(std::chrono::nanoseconds time, std::uint8_t address, std::vector<std::uint8_t> bytes,
                  MessageOutcome outcome = MessageOutcome::Acknowledged, std::size_t nackedByte = 0) {
  return Transaction{time, address, (address & 1) != 0, std::move(bytes), outcome, nackedByte, false, {}};
}

TEST(TransactionTextTest, AWriteAndARegisterReadInEightAndSevenBitForm) {
  const std::deque<Transaction> entries{
      entry(1234567ns, 0x42, {0x12, 0x80}),
      entry(1560000ns, 0x42, {0x12}),
      entry(1700000ns, 0x43, {0x80, 0xE7}),
      entry(12345678901ns, 0x43, {0x28}),
  };
  EXPECT_EQ(transactionLines(entries, {}),
            "     1.234 ms  42 W  reg 12  80  ACK\n"
            "     1.560 ms  42 W  reg 12  ACK\n"
            "     1.700 ms  42 R  reg 12  80 E7  ACK\n"
            " 12345.678 ms  42 R  28  ACK\n");
  EXPECT_EQ(transactionLines(entries, {.sevenBit = true}),
            "     1.234 ms  21 W  reg 12  80  ACK\n"
            "     1.560 ms  21 W  reg 12  ACK\n"
            "     1.700 ms  21 R  reg 12  80 E7  ACK\n"
            " 12345.678 ms  21 R  28  ACK\n");
}

TEST(TransactionTextTest, SixteenBitRegistersTakeTheFirstTwoBytes) {
  const std::deque<Transaction> entries{
      entry(0ns, 0x20, {0x01, 0x03, 0x01}),
      entry(0ns, 0x20, {0x00, 0x00}),
      entry(0ns, 0x21, {0x02, 0x19}),
      // One byte: too short for a 16-bit register, so all of it is bytes.
      entry(0ns, 0x20, {0x05}),
  };
  EXPECT_EQ(transactionLines(entries, {.addressBytes = 2}),
            "     0.000 ms  20 W  reg 0103  01  ACK\n"
            "     0.000 ms  20 W  reg 0000  ACK\n"
            "     0.000 ms  20 R  reg 0000  02 19  ACK\n"
            "     0.000 ms  20 W  05  ACK\n");
}

// An 8-bit sensor at 42 and a 16-bit one at 20 on one bus: each transaction reads its
// register as its command addressed it, whichever width the view says.
TEST(TransactionTextTest, EachTransactionShowsTheRegisterOfItsOwnCommand) {
  auto noted = [](Transaction transaction, int addressBytes) {
    transaction.command.format = i2c::RegisterFormat{addressBytes, 1};
    return transaction;
  };
  const std::deque<Transaction> entries{
      noted(entry(0ns, 0x42, {0x12, 0x80}), 1),
      noted(entry(0ns, 0x20, {0x00, 0x05}), 2),
      noted(entry(0ns, 0x21, {0x01}), 2),
      noted(entry(0ns, 0x42, {0x12}), 1),
      noted(entry(0ns, 0x43, {0x80}), 1),
  };
  for (const int bytes : {1, 2}) {
    EXPECT_EQ(transactionLines(entries, {.addressBytes = bytes}),
              "     0.000 ms  42 W  reg 12  80  ACK\n"
              "     0.000 ms  20 W  reg 0005  ACK\n"
              "     0.000 ms  20 R  reg 0005  01  ACK\n"
              "     0.000 ms  42 W  reg 12  ACK\n"
              "     0.000 ms  42 R  reg 12  80  ACK\n")
        << bytes;
  }
}

TEST(TransactionTextTest, AReadTakesItsRegisterOnlyFromAPointerWriteToTheSameDeviceJustBefore) {
  const Transaction read = entry(0ns, 0x43, {0x01});
  const Transaction otherDevice = entry(0ns, 0x60, {0x12});
  const Transaction registerAndValue = entry(0ns, 0x42, {0x12, 0x80});
  EXPECT_EQ(transactionLine(read, {}, &otherDevice), "     0.000 ms  42 R  01  ACK");
  EXPECT_EQ(transactionLine(read, {}, &registerAndValue), "     0.000 ms  42 R  01  ACK");
  EXPECT_EQ(transactionLine(read, {}, nullptr), "     0.000 ms  42 R  01  ACK");
}

TEST(TransactionTextTest, EveryOutcomeAndALongRead) {
  EXPECT_EQ(transactionLine(entry(0ns, 0x60, {}, MessageOutcome::AddressNotAcknowledged), {}),
            "     0.000 ms  60 W  NO ACK at address");
  EXPECT_EQ(transactionLine(entry(0ns, 0x42, {0x10, 0x01, 0x02}, MessageOutcome::DataNotAcknowledged, 2), {}),
            "     0.000 ms  42 W  reg 10  01 02  NO ACK at byte 3");
  Transaction adapter = entry(0ns, 0x42, {0x10, 0x01}, MessageOutcome::NotAcknowledged);
  adapter.adapter = true;
  EXPECT_EQ(transactionLine(adapter, {}), "     0.000 ms  42 W  reg 10  01  NO ACK");
  EXPECT_EQ(transactionOutcomeText(entry(0ns, 0x42, {}, MessageOutcome::TimedOut)), "TIMEOUT");
  EXPECT_EQ(transactionOutcomeText(entry(0ns, 0x42, {}, MessageOutcome::ArbitrationLost)),
            "ARBITRATION LOST");
  EXPECT_EQ(transactionOutcomeText(entry(0ns, 0x42, {}, MessageOutcome::NotSent)), "NOT SENT");

  std::vector<std::uint8_t> bytes(256);
  for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
  EXPECT_EQ(transactionLine(entry(0ns, 0x43, bytes), {}),
            "     0.000 ms  42 R  00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F .. (256 bytes)  ACK");
}

}  // namespace
}  // namespace brelvion::trace
