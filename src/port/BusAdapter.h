#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "i2c/I2cTransfer.h"

namespace brelvion::port {

// How an adapter's driver was asked to carry a transfer out.
enum class AdapterCall {
  // Plain I2C messages, joined by repeated STARTs, one STOP at the end (i2c-dev's I2C_RDWR).
  Combined,
  // One SMBus call; messages holds what it puts on the wire.
  Smbus,
};

// One transfer as an adapter's driver carried it out, in one call: what went out, and
// per message what came back. The engine's trace shows one line for each.
struct AdapterTransfer {
  AdapterCall call = AdapterCall::Combined;
  std::vector<i2c::I2cMessage> messages;
  std::vector<i2c::MessageResult> results;
};

// A bus master whose hardware carries whole transfers, such as a Linux i2c-dev adapter:
// there are no lines to step. A transfer the engine hands it may take several driver
// calls (a read longer than the driver takes in one message, a register read done with
// SMBus calls); each call is reported to the listener as it completes. A call the bus
// refused ends the transfer there: later messages are NotSent.
class BusAdapter : public i2c::I2cMaster {
 public:
  // What the trace calls it: "i2c-3".
  virtual std::string name() const = 0;
  // What the user knows it by: "i2c-3, CP2112 SMBus Bridge on hidraw0".
  virtual std::string description() const = 0;
  // Opens the adapter unless it is open already. Throws base::RuntimeError naming the
  // device, the cause and what to do.
  virtual void open() = 0;
  // Closes it; the next transfer or open() opens it again.
  virtual void close() noexcept = 0;

  void setTransferListener(std::function<void(const AdapterTransfer&)> listener) {
    listener_ = std::move(listener);
  }

 protected:
  void reportTransfer(const AdapterTransfer& done) const {
    if (listener_) listener_(done);
  }

 private:
  std::function<void(const AdapterTransfer&)> listener_;
};

}  // namespace brelvion::port
