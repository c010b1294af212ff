#pragma once

#include <cstdint>
#include <vector>

#include "bus/LineControls.h"
#include "bus/TransactionRecord.h"
#include "i2c/I2cTransfer.h"

namespace brelvion::bus {

// The master the program drives its bus with: the bit-banging engine on lines (BusEngine) or
// an adapter's driver (AdapterMaster), equal implementations of whole transfers. Each also
// opens, readies and closes its bus, probes addresses, and notes every message it sends in
// the record it was given, which is the program's one record whichever master is in use.
class BusMaster : public i2c::I2cMaster {
 public:
  // Opens the bus with the debugger enabled when debug is 1: on the cable the parallel port
  // at portIndex (any other index keeps the one chosen last), on an adapter its device.
  virtual void openBus(std::int16_t portIndex, std::int16_t debug) = 0;
  // Readies the bus; timeout is the status reads of an acknowledge wait.
  virtual void initPort(std::int16_t timeout) = 0;
  virtual void closeBus() = 0;
  // Frees a bus a slave holds. Only lines the tool drives itself can be pulsed: an adapter
  // refuses (RuntimeError 5) and touches nothing.
  virtual RecoveryResult recoverBus() = 0;
  // Releases both lines and reads SDA back: false when something holds it low. True where
  // there are no lines to release.
  virtual bool releaseLinesAndSenseSda() = 0;
  // A transfer that asks whether anything answers, as a scan does: a missing acknowledge is
  // the answer, so it neither beeps nor earns an error line.
  virtual i2c::TransferResult probe(i2c::MessageSpan messages) = 0;
  // Ends the command with the master's own error when result timed out where the master
  // counts that as a fault of the bus rather than an answer: on lines a slave held SCL low
  // beyond the stretch timeout (ClockHeldLow). An adapter's timeout is an answer.
  virtual void endCommandIfTimedOut(const i2c::TransferResult& result) const = 0;
  virtual TransactionRecord& record() = 0;
};

// Sets a master's probing flag while it lives: a probe's transfer runs under it.
class ProbingScope {
 public:
  explicit ProbingScope(bool& probing) : probing_(probing) { probing_ = true; }
  ~ProbingScope() { probing_ = false; }
  ProbingScope(const ProbingScope&) = delete;
  ProbingScope& operator=(const ProbingScope&) = delete;

 private:
  bool& probing_;
};

}  // namespace brelvion::bus
