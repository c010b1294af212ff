#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "bus/BusMaster.h"
#include "bus/BusTrace.h"
#include "bus/LineControls.h"
#include "bus/TransactionRecord.h"
#include "port/BitLines.h"
#include "i2c/I2cTransfer.h"
#include "port/PortIo.h"
#include "port/StepTimer.h"

namespace brelvion::bus {

// The I2C master, bit-banged on two lines. Three layers: line steps (a line set and a
// bitDelay), primitives (START, STOP, byte out, acknowledge wait, byte in, master
// acknowledge), and transfers of messages, which carry out every register transaction
// (RegisterAccess.h builds their messages). No procedure stops early on a missing
// acknowledge: the bytes of a message go out whatever the slave answers, as the tool always
// drove the bus; a transfer's outcome is its result.
//
// The lines are the parallel-port cable, GPIO lines or the simulated bus's: each gets an
// engine of its own. Opening and closing the bus (openBus, closeBus) are the lines' own (the
// cable chooses its port and saves its control register). The settings the user set for
// bit-banging (LineSettings) go from one engine to the next when the program changes lines.
//
// Where the lines can read SCL back, every release of SCL waits until it reads high, up to
// the stretch timeout: a slave may stretch the clock. Beyond it the command ends with
// ClockHeldLow (RuntimeError 24) and its own trace line. The cable cannot read SCL, so on it
// nothing waits and nothing changes. Every START first reads SDA with both lines released:
// held low, the command ends with SdaHeldLow (RuntimeError 68) and its own trace line, as an
// acknowledge read from a line stuck low would be a lie.
//
// Its messages go into record, the program's one record of them.
class BusEngine final : public BusMaster {
 public:
  BusEngine(port::BitLines& lines, BusTrace& trace, TransactionRecord& record)
      : lines_(lines), trace_(trace), record_(record) {}

  BusEngine(const BusEngine&) = delete;
  BusEngine& operator=(const BusEngine&) = delete;

  // The lines the engine steps.
  port::BitLines& lines() { return lines_; }
  // One entry a message of every transaction and transfer, kept while tracing
  // (TransactionRecording.cpp).
  TransactionRecord& record() override { return record_; }
  const TransactionRecord& record() const { return record_; }

  // The settings as they stand, and all of them at once (as the engine on other lines had
  // them); the step time goes to the lines' step timer either way. Values out of range throw
  // RuntimeError 5 and change nothing.
  LineSettings settings() const;
  void apply(const LineSettings& settings);
  void setBusDelay(double d) { busDelay_ = d; }
  double busDelay() const { return busDelay_; }
  std::int16_t ackTimeout() const { return ackTimeout_; }

  // What the latest waitAck heard (an acknowledge before the timeout) and the latest
  // receiveByte read.
  bool ackReceived() const { return ackReceived_; }
  std::int16_t receivedByte() const { return receivedByte_; }
  // The address byte while it is being sent and acknowledged, else 0: a waitAck then
  // reports a missing acknowledge as a device not responding.
  void setAddressPhase(std::int16_t address) { addressPhase_ = address; }
  std::int16_t addressPhase() const { return addressPhase_; }

  // Line control.
  void bitDelay(double d);
  // Bus clear and release: six clock pulses, each ending in a STOP, then both lines high.
  void initPort(std::int16_t timeout) override;

  // Line-level controls. The step time is how long each line step lasts at least (5 to
  // 1000 us, standard mode's 5 by default), held by the lines' own step timer; the stretch
  // timeout how long a slave may hold SCL low (1 to 10000 ms, 25 by default). Values out of
  // range throw RuntimeError 5 and change nothing.
  void setStepTime(std::chrono::microseconds step);
  std::chrono::microseconds stepTime() const;
  void setStretchTimeout(std::chrono::milliseconds timeout);
  std::chrono::milliseconds stretchTimeout() const { return stretchTimeout_; }

  // Whether each START first reads SDA with both lines released (on by default). Off, the
  // cable makes the design's port accesses read for read, as replayed against recorded
  // ones; the writes are the same either way.
  void setSdaCheckBeforeStart(bool on) { senseSdaBeforeStart_ = on; }

  // Frees a bus a slave holds: both lines released, then while SDA reads low up to nine
  // clock pulses, each letting the slave shift out one more bit, then a STOP. Unlike
  // initPort's six pulses it frees a slave stopped early in a byte with many zero bits left.
  RecoveryResult recoverBus() override;

  // Primitives. All but sendStart expect SCL low, and all but sendStop leave it low.
  void sendStart();
  void sendStop();
  void transmitByte(std::int16_t b);
  void waitAck();
  void receiveByte();
  void sendMasterAck();

  // A START without a STOP before it, into the next message of a transfer; the line steps
  // of sendStart under a trace line of its own. Expects SCL low.
  void sendRepeatedStart();

  // The messages in order: START (or a repeated START after a message that asked for one),
  // the address byte and its acknowledge wait, then each byte written with its wait, or
  // each byte read with the master's acknowledge on all but the last; a STOP after every
  // message that asks for one and after the last.
  i2c::TransferResult transfer(i2c::MessageSpan messages) override;

  // A transfer that asks whether anything answers, as a scan does: a missing acknowledge is
  // the answer, so it neither beeps nor earns an error line. A read probe whose address
  // nobody acknowledged clocks no data byte: its STOP follows the address.
  i2c::TransferResult probe(i2c::MessageSpan messages) override;

  // Releases both lines and reads SDA back: false when something holds it low.
  bool releaseLinesAndSenseSda() override;

  // A message that timed out on the lines was a slave holding SCL: ClockHeldLow.
  void endCommandIfTimedOut(const i2c::TransferResult& result) const override;

  void openBus(std::int16_t portIndex, std::int16_t debug) override;
  void closeBus() override;

 private:
  // A line step: one line set, then bitDelay(BusDelay).
  void sdaHigh() {
    lines_.setSda(true);
    stepDelay();
  }
  void sdaLow() {
    lines_.setSda(false);
    stepDelay();
  }
  void sclHigh() {
    lines_.setScl(true);
    awaitScl();
    stepDelay();
  }
  void sclLow() {
    lines_.setScl(false);
    stepDelay();
  }
  // bitDelay(BusDelay).
  void stepDelay();
  // After SCL was released: false when it still reads low at the stretch timeout. True at
  // once on lines that cannot read SCL.
  bool sclRises();
  // sclRises, and ends the command (ClockHeldLow) when SCL does not rise.
  void awaitScl() {
    if (!sclRises()) clockHeldLow();
  }
  [[noreturn]] void clockHeldLow();
  // Ends the command before a START on a bus whose SDA reads low (SdaHeldLow).
  [[noreturn]] void sdaHeldLow();
  void logRecovery(const RecoveryResult& result);
  static std::int64_t delayPasses(double d);
  bool sdaSensedHigh() { return lines_.sda(); }
  void log(std::string_view message) {
    if (trace_.tracing()) trace_.logLine(message);
  }
  // A missing acknowledge, as the trace hears of it unless the engine is probing.
  void acknowledgeMissing(std::string_view message) {
    if (!probing_) trace_.acknowledgeMissing(message);
  }
  // The record's entry for a message about to go out on the lines while tracing, else
  // nothing; kept by finishEntry with how the message ended.
  std::optional<Transaction> startEntry(std::uint8_t address, bool read);
  void finishEntry(std::optional<Transaction>& entry, i2c::MessageOutcome outcome,
                   std::size_t nackedByte);
  // The messages of a transfer. Each begins with START (or a repeated START) and the
  // address byte with its acknowledge wait, AddressPhase set around them, and ends with a
  // STOP when stopAfter. A write records the first byte not acknowledged in nackedByte; a
  // read hands each byte received to store(index, byte).
  void beginMessage(std::int16_t address, bool repeatedStart);
  i2c::MessageOutcome sendWrite(std::uint8_t address, std::span<const std::uint8_t> bytes,
                                 bool repeatedStart, bool stopAfter, std::size_t& nackedByte);
  template <typename Store>
  i2c::MessageOutcome sendRead(std::uint8_t address, std::size_t length, bool repeatedStart,
                                bool stopAfter, Store store);

  port::BitLines& lines_;
  BusTrace& trace_;
  TransactionRecord& record_;
  bool probing_ = false;
  bool senseSdaBeforeStart_ = true;
  double busDelay_ = 0;
  std::int16_t ackTimeout_ = 0;
  bool ackReceived_ = false;
  std::int16_t addressPhase_ = 0;
  std::int16_t receivedByte_ = 0;
  // The pass count of the bus delay last used, so that a step need not work it out again.
  double stepDelay_ = 0;
  std::int64_t stepPasses_ = 1;
  // The time of one pass on the lines, and the passes a slave may hold SCL low.
  std::chrono::nanoseconds quantum_ = port::kHardwareQuantum;
  std::chrono::milliseconds stretchTimeout_ = kDefaultStretchTimeout;
  std::int64_t stretchPasses_ = stretchPassesFor(kDefaultStretchTimeout, port::kHardwareQuantum);
  // Lines that cannot read SCL (the cable) say so at the first release; they are not asked
  // again.
  bool sclReadable_ = true;
  static std::int64_t stretchPassesFor(std::chrono::milliseconds timeout,
                                       std::chrono::nanoseconds quantum);
};

}  // namespace brelvion::bus
