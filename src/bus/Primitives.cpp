#include <string>

#include "bus/BusEngine.h"
#include "bus/BusMessages.h"
#include "numconv/HexText.h"

namespace brelvion::bus {

// Expects both lines high; leaves both low. SDA is read once both lines are released, where
// an idle bus has it high: a bus held low ends the command (SdaHeldLow) before the START.
// The read falls inside SCL's step, so the step lasts no longer and no line is set for it.
void BusEngine::sendStart() {
  log(kMsgStart);
  sdaHigh();
  lines_.setScl(true);
  awaitScl();
  if (senseSdaBeforeStart_ && !sdaSensedHigh()) sdaHeldLow();
  stepDelay();
  sdaLow();
  sdaLow();
  sclLow();
}

// Expects SCL low and SDA released, as after an acknowledge wait; leaves both low.
void BusEngine::sendRepeatedStart() {
  log(kMsgRepeatedStart);
  sdaHigh();
  sclHigh();
  sdaLow();
  sdaLow();
  sclLow();
}

// Expects SCL low; leaves the bus idle, both lines high.
void BusEngine::sendStop() {
  log(kMsgStop);
  sdaLow();
  sdaLow();
  sclHigh();
  sclHigh();
  sdaHigh();
}

// Expects SCL low; leaves SCL low and SDA released for the acknowledge.
void BusEngine::transmitByte(std::int16_t b) {
  log(kMsgTransmit);
  for (int bit = 7; bit >= 0; --bit) {
    const int mask = 1 << bit;
    if ((b & mask) == mask) {
      sdaHigh();
    } else {
      sdaLow();
    }
    sclHigh();
    sclLow();
  }
  sdaHigh();
}

// Expects SCL low; clocks the ninth bit and samples SDA AckTimeout times while SCL is high.
// Leaves SCL low.
void BusEngine::waitAck() {
  log(kMsgWaitAck);
  lines_.setSda(true);
  lines_.setSda(true);
  stepDelay();
  lines_.setScl(true);
  lines_.setScl(true);
  awaitScl();
  stepDelay();

  bool done = false;
  int count = 0;
  ackReceived_ = true;
  while (!done) {
    ++count;
    if (!sdaSensedHigh()) done = true;
    // Checked after the sample, so an acknowledge first seen on the last sample still
    // counts as a timeout. A timeout below 1 (the bus not yet initialised) ends the wait
    // after one sample instead of never.
    if (count >= ackTimeout_) {
      done = true;
      ackReceived_ = false;
      acknowledgeMissing(addressPhase_ != 0 ? kErrNotResponding : kErrNoAck);
    }
  }

  lines_.setSda(true);
  lines_.setSda(true);
  stepDelay();
  lines_.setScl(false);
  lines_.setScl(false);
  stepDelay();
}

// Expects SCL low; samples each bit once SCL has been high for one delay. Leaves SCL low
// and SDA released, without clocking the acknowledge.
void BusEngine::receiveByte() {
  receivedByte_ = 0;
  sdaHigh();
  for (int bit = 7; bit >= 0; --bit) {
    const int mask = 1 << bit;
    sclHigh();
    const bool high = sdaSensedHigh();
    sclLow();
    if (high) receivedByte_ = static_cast<std::int16_t>(receivedByte_ + mask);
  }
  if (trace_.tracing()) {
    std::string message(kMsgReceivePrefix);
    message.append(numconv::upperHex(static_cast<std::uint64_t>(receivedByte_ & 0xFF), 2))
        .append("h");
    trace_.logLine(message);
  }
}

// Expects SCL low; clocks the ninth bit with SDA held low, then releases SDA.
void BusEngine::sendMasterAck() {
  sclLow();
  sdaLow();
  sclHigh();
  sclLow();
  sdaHigh();
  log(kMsgMasterAck);
}

}  // namespace brelvion::bus
