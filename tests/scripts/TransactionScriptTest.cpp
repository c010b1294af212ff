#include <gtest/gtest.h>

#include <chrono>
#include <optional>

#include "scripts/ScriptReader.h"
#include "scripts/ScriptWriter.h"
#include "scripts/TransactionScript.h"

namespace brelvion::scripts {
namespace {

using namespace std::chrono_literals;
using bus::Transaction;
using i2c::MessageOutcome;

Transaction entry(std::uint8_t address, std::vector<std::uint8_t> bytes,
                  MessageOutcome outcome = MessageOutcome::Acknowledged, std::size_t nackedByte = 0) {
  return Transaction{0ns, address, (address & 1) != 0, std::move(bytes), outcome, nackedByte, false, {}};
}

// What the design's Send Register and a dump put on the bus, and a probe of a scan.
const std::deque<Transaction> kSession{
    entry(0x42, {0x12, 0x80}),
    entry(0x42, {0x12}),
    entry(0x43, {0x80, 0xE7}),
    entry(0x60, {}, MessageOutcome::AddressNotAcknowledged),
    entry(0x42, {0x13, 0x01, 0x02}, MessageOutcome::DataNotAcknowledged, 2),
    entry(0x42, {0x00}),
    entry(0x43, {0xFF}, MessageOutcome::AddressNotAcknowledged),
};

TEST(TransactionScriptTest, WritesOnlyByDefaultWithWhatCouldNotBeSavedNamedAtTheHead) {
  EXPECT_EQ(writeScript(scriptOfTransactions(kSession, {})),
            "; saved from the Wisp debugger's transactions\n"
            "; transaction 4 left out: the address 60 alone, with no register, cannot be a script command\n"
            "device 42\n"
            "write 12 80\n"
            "valbits 16\n"
            "write 13 0102  ; NO ACK at byte 3 when recorded\n");
}

TEST(TransactionScriptTest, AcknowledgedReadsBecomeExpectLinesWhenAsked) {
  EXPECT_EQ(writeScript(scriptOfTransactions(kSession, {.readsAsExpect = true})),
            "; saved from the Wisp debugger's transactions\n"
            "; transaction 4 left out: the address 60 alone, with no register, cannot be a script command\n"
            "device 42\n"
            "write 12 80\n"
            "expect 12 80\n"
            "expect 13 E7\n"
            "valbits 16\n"
            "write 13 0102  ; NO ACK at byte 3 when recorded\n"
            "; read of 00 not acknowledged when recorded: no expect\n");
}

TEST(TransactionScriptTest, SixteenBitRegistersAndValuesReadBackAsTheSameSteps) {
  const std::deque<Transaction> sensor{
      entry(0x20, {0x01, 0x03, 0x01}),
      entry(0x20, {0x00, 0x00}),
      entry(0x21, {0x02, 0x19, 0x00, 0x05}),
      entry(0x20, {0x03, 0x40, 0x04}),
  };
  const Script script = scriptOfTransactions(sensor, {.addressBytes = 2, .readsAsExpect = true});
  const std::string text = writeScript(script);
  EXPECT_EQ(text,
            "; saved from the Wisp debugger's transactions\n"
            "device 20\n"
            "regbits 16\n"
            "write 0103 01\n"
            "expect 0000 02\n"
            "expect 0001 19\n"
            "expect 0002 00\n"
            "expect 0003 05\n"
            "write 0340 04\n");
  const ReadResult read = readScript(text, "saved.i2cs");
  ASSERT_TRUE(read.ok()) << read.problems.front().text();
  EXPECT_TRUE(sameMeaning(read.script, script));
}

Transaction noted(Transaction transaction, i2c::RegisterFormat format,
                  std::optional<std::size_t> shown = std::nullopt) {
  transaction.command = {format, shown};
  return transaction;
}

// An 8-bit sensor at 42 and a 16-bit one at 20: each write in its command's format, whatever
// the view's; a read back that showed one of its two bytes expects that one only; the
// transactions dropped before are said at the head.
TEST(TransactionScriptTest, EachTransactionIsSavedInItsCommandsFormat) {
  const i2c::RegisterFormat wide{2, 1};
  const std::deque<Transaction> session{
      noted(entry(0x42, {0x12, 0x80}), i2c::kByteRegisters),
      noted(entry(0x42, {0x12}), i2c::kByteRegisters, 1),
      noted(entry(0x43, {0x80, 0xE7}), i2c::kByteRegisters, 1),
      noted(entry(0x20, {0x01, 0x03, 0x01}), wide),
      noted(entry(0x20, {0x00, 0x05}), wide),
      noted(entry(0x21, {0x01}), wide),
      noted(entry(0x42, {0x13, 0x55}), i2c::kByteRegisters),
  };
  for (const int bytes : {1, 2}) {
    EXPECT_EQ(writeScript(scriptOfTransactions(
                  session, {.addressBytes = bytes, .readsAsExpect = true, .dropped = 3})),
              "; saved from the Wisp debugger's transactions\n"
              "; The record kept the newest 7 transactions: 3 older ones were dropped and are "
              "not in the script.\n"
              "device 42\n"
              "write 12 80\n"
              "expect 12 80\n"
              "device 20\n"
              "regbits 16\n"
              "write 0103 01\n"
              "expect 0005 01\n"
              "device 42\n"
              "regbits 8\n"
              "write 13 55\n")
        << bytes;
  }
}

TEST(TransactionScriptTest, AFileNameWithoutExtensionGetsTheScriptsOne) {
  EXPECT_EQ(withScriptExtension("/tmp/bring-up"), "/tmp/bring-up.i2cs");
  EXPECT_EQ(withScriptExtension("/tmp/bring-up.i2cs"), "/tmp/bring-up.i2cs");
  EXPECT_EQ(withScriptExtension("/tmp/bring-up.txt"), "/tmp/bring-up.txt");
  EXPECT_EQ(withScriptExtension("/tmp/v1.2/.hidden"), "/tmp/v1.2/.hidden.i2cs");
  EXPECT_EQ(withScriptExtension("plain"), "plain.i2cs");
}

}  // namespace
}  // namespace brelvion::scripts
