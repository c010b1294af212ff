#include "capture/I2cWireDecoder.h"

#include <limits>
#include <utility>

namespace brelvion::capture {

void WireEventDecoder::levels(std::int64_t timeNs, bool scl, bool sda, std::size_t line) {
  if (!started_) {
    started_ = true;
    level_ = {scl, sda};
    return;
  }
  if (glitchNs_ <= 0) {
    apply(timeNs, scl, sda, line);
    return;
  }
  settleUpTo(timeNs);
  const std::array<bool, 2> now{scl, sda};
  for (std::size_t k = 0; k < 2; ++k) {
    Pending& pending = pending_[k];
    const bool current = pending.held ? pending.level : level_[k];
    if (now[k] == current) continue;
    if (pending.held) {
      // Back to the level before it sooner than glitchNs: neither change happened.
      pending.held = false;
      ++glitches_;
    } else {
      pending = Pending{true, now[k], timeNs, line};
    }
  }
}

void WireEventDecoder::finish() { settleUpTo(std::numeric_limits<std::int64_t>::max()); }

void WireEventDecoder::settleUpTo(std::int64_t timeNs) {
  for (;;) {
    int first = -1;
    for (int k = 0; k < 2; ++k) {
      const Pending& pending = pending_[k];
      if (!pending.held || pending.timeNs > timeNs - glitchNs_) continue;
      if (first < 0 || pending.timeNs < pending_[first].timeNs) first = k;
    }
    if (first < 0) return;
    settle(first);
  }
}

// Gives out the held change of `line`, and the other line's too when it fell on the same
// instant, so that the two stay one change.
void WireEventDecoder::settle(int line) {
  const Pending change = pending_[line];
  std::array<bool, 2> next = level_;
  for (int k = 0; k < 2; ++k) {
    Pending& pending = pending_[k];
    if (!pending.held || pending.timeNs != change.timeNs) continue;
    next[k] = pending.level;
    pending.held = false;
  }
  apply(change.timeNs, next[0], next[1], change.line);
}

void WireEventDecoder::apply(std::int64_t timeNs, bool scl, bool sda, std::size_t line) {
  const bool wasScl = level_[0];
  const bool wasSda = level_[1];
  level_ = {scl, sda};
  if (!wasScl && scl) {
    sink_.event(WireEvent{WireEvent::Kind::Bit, sda, timeNs, line});
  } else if (wasScl && scl && wasSda != sda) {
    sink_.event(WireEvent{sda ? WireEvent::Kind::Stop : WireEvent::Kind::Start, false, timeNs, line});
  }
}

void I2cTransferDecoder::event(const WireEvent& event) {
  lastNs_ = event.timeNs;
  switch (event.kind) {
    case WireEvent::Kind::Start:
      if (inTransfer_) {
        closeMessage();
      } else {
        inTransfer_ = true;
        transfer_ = DecodedTransfer{};
        transfer_.startNs = event.timeNs;
        transfer_.line = event.line;
      }
      transfer_.messages.emplace_back();
      transfer_.messages.back().startNs = event.timeNs;
      transfer_.messages.back().line = event.line;
      return;
    case WireEvent::Kind::Stop:
      if (!inTransfer_) {
        ++strayStops_;
        return;
      }
      closeMessage();
      transfer_.stopped = true;
      transfer_.endNs = event.timeNs;
      inTransfer_ = false;
      sink_.transfer(std::move(transfer_));
      return;
    case WireEvent::Kind::Bit:
      if (!inTransfer_) {
        ++strayBits_;
        return;
      }
      bit(event.bit);
      return;
  }
}

void I2cTransferDecoder::bit(bool value) {
  if (bits_ < 8) {
    byte_ = static_cast<std::uint8_t>((byte_ << 1) | (value ? 1 : 0));
    ++bits_;
    return;
  }
  DecodedMessage& message = transfer_.messages.back();
  const bool acknowledged = !value;
  if (!message.hasAddress) {
    message.hasAddress = true;
    message.address = byte_;
    message.addressAcknowledged = acknowledged;
  } else {
    message.bytes.push_back(byte_);
    message.acknowledged.push_back(acknowledged);
  }
  bits_ = 0;
  byte_ = 0;
}

void I2cTransferDecoder::closeMessage() {
  transfer_.messages.back().trailingBits = bits_;
  bits_ = 0;
  byte_ = 0;
}

void I2cTransferDecoder::finish() {
  if (!inTransfer_) return;
  closeMessage();
  transfer_.stopped = false;
  transfer_.endNs = lastNs_;
  inTransfer_ = false;
  sink_.transfer(std::move(transfer_));
}

}  // namespace brelvion::capture
