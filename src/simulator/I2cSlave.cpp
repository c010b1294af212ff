#include "simulator/I2cSlave.h"

#include <stdexcept>
#include <string>

namespace brelvion::simulator {

void I2cSlave::sense(bool scl, bool sda) {
  const bool sclWas = scl_;
  const bool sdaWas = sda_;
  scl_ = scl;
  sda_ = sda;
  if (scl != sclWas) {
    if (scl) {
      onClockRise();
    } else {
      onClockFall();
    }
  } else if (scl && sda != sdaWas) {
    if (sda) {
      onStop();
    } else {
      onStart();
    }
  }
}

void I2cSlave::resumeMidRead(std::uint8_t value, int bitsClocked) {
  if (bitsClocked < 1 || bitsClocked > 8) {
    throw std::invalid_argument("A slave can be caught after 1 to 8 bits of a byte, not " +
                                std::to_string(bitsClocked));
  }
  phase_ = Phase::Read;
  engaged_ = true;
  outgoing_ = value;
  clocks_ = bitsClocked;
  driveBit(bitsClocked - 1);
}

// Also a repeated START: whatever the slave was doing, the next byte is an address.
void I2cSlave::onStart() {
  engaged_ = false;
  phase_ = Phase::Address;
  clocks_ = 0;
  incoming_ = 0;
  release();
}

void I2cSlave::onStop() {
  const bool ended = engaged_;
  engaged_ = false;
  phase_ = Phase::Idle;
  release();
  if (ended) stopped();
}

void I2cSlave::onClockRise() {
  if (phase_ == Phase::Idle) return;
  ++clocks_;
  if (phase_ == Phase::Read) {
    if (clocks_ == 9) acked_ = !sda_;
  } else if (clocks_ <= 8) {
    incoming_ = static_cast<std::uint8_t>((incoming_ << 1) | (sda_ ? 1 : 0));
  }
}

void I2cSlave::onClockFall() {
  if (phase_ == Phase::Idle) return;
  if (phase_ == Phase::Read) {
    transmitterFall();
  } else {
    receiverFall();
  }
}

void I2cSlave::receiverFall() {
  if (clocks_ == 8) {
    finishReceivedByte();
    return;
  }
  if (clocks_ < 9) return;
  // The end of the ninth clock: the acknowledge is over.
  release();
  stretchAfterByte();
  clocks_ = 0;
  incoming_ = 0;
  if (phase_ == Phase::Address) {
    if (readRequested_) {
      phase_ = Phase::Read;
      loadByteToRead();
    } else {
      phase_ = Phase::Write;
    }
  }
}

void I2cSlave::finishReceivedByte() {
  if (phase_ == Phase::Address) {
    readRequested_ = (incoming_ & 1) != 0;
    acked_ = i2c::DeviceAddress::fromByte(incoming_) == address_ && addressed(readRequested_);
    engaged_ = acked_;
  } else {
    acked_ = byteWritten(incoming_);
  }
  if (acked_) {
    sdaReleased_ = false;
  } else {
    phase_ = Phase::Idle;
  }
}

void I2cSlave::transmitterFall() {
  if (clocks_ < 8) {
    driveBit(clocks_);
  } else if (clocks_ == 8) {
    // The ninth clock belongs to the master's acknowledge.
    release();
  } else if (acked_) {
    stretchAfterByte();
    loadByteToRead();
  } else {
    // A NACK ends the read; the master follows with STOP or START.
    release();
    phase_ = Phase::Idle;
  }
}

void I2cSlave::loadByteToRead() {
  outgoing_ = byteToRead();
  clocks_ = 0;
  driveBit(0);
}

}  // namespace brelvion::simulator
