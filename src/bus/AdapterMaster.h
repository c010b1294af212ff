#pragma once

#include <memory>
#include <vector>

#include "bus/BusMaster.h"
#include "bus/BusTrace.h"
#include "bus/TransactionRecord.h"
#include "port/BusAdapter.h"

namespace brelvion::bus {

// An adapter's driver as the program's master: the adapter carries whole transfers, and
// each of its driver calls is one trace line ("Wisp MSG007:" or "MSG008:"), one record entry
// a message it sent, and, when the bus refused it, one error line (ERR003 to ERR005) that a
// probe does without. Opening, readying and closing the bus open, ready and close the
// adapter and touch no port or line.
class AdapterMaster final : public BusMaster {
 public:
  AdapterMaster(std::unique_ptr<port::BusAdapter> adapter, BusTrace& trace,
                TransactionRecord& record);
  ~AdapterMaster() override;

  AdapterMaster(const AdapterMaster&) = delete;
  AdapterMaster& operator=(const AdapterMaster&) = delete;

  port::BusAdapter& adapter() { return *adapter_; }
  const port::BusAdapter& adapter() const { return *adapter_; }

  i2c::TransferResult transfer(i2c::MessageSpan messages) override;
  i2c::TransferResult probe(i2c::MessageSpan messages) override;
  void openBus(std::int16_t portIndex, std::int16_t debug) override;
  // The adapter's driver recovers its bus itself: there are no lines to clear.
  void initPort(std::int16_t timeout) override;
  void closeBus() override;
  RecoveryResult recoverBus() override;
  bool releaseLinesAndSenseSda() override { return true; }
  void endCommandIfTimedOut(const i2c::TransferResult&) const override {}
  TransactionRecord& record() override { return record_; }

 private:
  void traceCall(const port::AdapterTransfer& done);
  void recordCall(const port::AdapterTransfer& done);

  std::unique_ptr<port::BusAdapter> adapter_;
  BusTrace& trace_;
  TransactionRecord& record_;
  bool probing_ = false;
};

}  // namespace brelvion::bus
