#include "platform/HardwarePort.h"

#include "platform/BusCapture.h"
#include "platform/LptRegisters.h"

namespace brelvion::platform {

std::uint8_t HardwarePort::inpb(std::uint16_t port) {
  const std::uint8_t value = readRegister(port);
  if (capture_ != nullptr) {
    const auto address = classifyLptAddress(port);
    if (address && address->reg == LptRegister::Status) noteSensedSda(sdaHighInStatus(value));
  }
  return value;
}

void HardwarePort::out(std::uint16_t port, std::uint8_t value) {
  timer_.markWrite(monotonicNanos());
  writeRegister(port, value);
  if (capture_ != nullptr) noteWrite(port, value);
}

void HardwarePort::waitQuantum() {
  const StepTimer::Nanos deadline = timer_.nextDeadline();
  while (monotonicNanos() < deadline) {
  }
}

void HardwarePort::setCapture(BusCapture* capture) {
  capture_ = capture;
  if (capture_ == nullptr) return;
  slaveHoldsSda_ = false;
  sdaFreeSince_ = capture_->samples().size();
  recordLines();
}

void HardwarePort::noteWrite(std::uint16_t port, std::uint8_t value) {
  const auto address = classifyLptAddress(port);
  if (!address) return;
  if (address->reg == LptRegister::Data) {
    const bool released = sdaReleasedByData(value);
    if (released && !masterSdaReleased_) sdaFreeSince_ = capture_->samples().size();
    masterSdaReleased_ = released;
  } else if (address->reg == LptRegister::Control) {
    const bool scl = sclReleasedByControl(value);
    if (scl_ && !scl) {
      // A slave may let go of SDA right after SCL falls: assume it did until a read says otherwise.
      slaveHoldsSda_ = false;
      sdaFreeSince_ = capture_->samples().size();
    }
    scl_ = scl;
  }
  recordLines();
}

void HardwarePort::noteSensedSda(bool high) {
  if (!masterSdaReleased_ || slaveHoldsSda_ == !high) return;
  slaveHoldsSda_ = !high;
  capture_->amendSda(sdaFreeSince_, wireSda());
  recordLines();
}

void HardwarePort::recordLines() { capture_->record(monotonicNanos(), scl_, wireSda()); }

}  // namespace brelvion::platform
