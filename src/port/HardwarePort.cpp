#include "port/HardwarePort.h"

#include "capture/BusCapture.h"
#include "port/LptRegisters.h"

namespace brelvion::port {

std::uint8_t HardwarePort::inpb(std::uint16_t port) {
  const std::uint8_t value = readRegister(port);
  if (capture_ != nullptr) {
    const auto address = classifyLptAddress(port);
    if (address && address->reg == LptRegister::Status) noteSensedSda(sdaHighInStatus(value));
  }
  return value;
}

void HardwarePort::out(std::uint16_t port, std::uint8_t value) {
  writeRegister(port, value);
  // Timed from the end of the write: the line changed somewhere inside it, and a write held
  // up by the scheduler must not shorten the step that follows.
  timer_.markWrite(monotonicNanos());
  noteWrite(port, value);
}

void HardwarePort::waitQuanta(std::int64_t passes) {
  const StepTimer::Nanos deadline = timer_.deadlineAfter(passes);
  while (monotonicNanos() < deadline) {
  }
}

void HardwarePort::setCapture(capture::BusCapture* capture) {
  capture_ = capture;
  if (capture_ == nullptr) return;
  slaveHoldsSda_ = false;
  sdaFreeSince_ = capture_->samples().size();
  recordLines();
}

// The master's own levels are followed even while nothing records them, so that a capture
// started later begins from the real state of the lines.
void HardwarePort::noteWrite(std::uint16_t port, std::uint8_t value) {
  const auto address = classifyLptAddress(port);
  if (!address) return;
  const std::size_t next = capture_ != nullptr ? capture_->samples().size() : 0;
  if (address->reg == LptRegister::Data) {
    const bool released = sdaReleasedByData(value);
    if (released && !masterSdaReleased_) sdaFreeSince_ = next;
    masterSdaReleased_ = released;
  } else if (address->reg == LptRegister::Control) {
    const bool scl = sclReleasedByControl(value);
    if (scl_ && !scl) {
      // A slave may let go of SDA right after SCL falls: assume it did until a read says otherwise.
      slaveHoldsSda_ = false;
      sdaFreeSince_ = next;
    }
    scl_ = scl;
  }
  if (capture_ != nullptr) recordLines();
}

void HardwarePort::noteSensedSda(bool high) {
  if (!masterSdaReleased_ || slaveHoldsSda_ == !high) return;
  slaveHoldsSda_ = !high;
  capture_->amendSda(sdaFreeSince_, wireSda());
  recordLines();
}

void HardwarePort::recordLines() { capture_->record(monotonicNanos(), scl_, wireSda()); }

}  // namespace brelvion::port
