#pragma once

#include <cstdint>

#include "i2c/DeviceAddress.h"

namespace brelvion::simulator {

// A bit-level I2C slave. It sees nothing but the two wire levels, handed to it by the bus
// after every change, and answers only through its SDA output (released or pulled low), so
// it follows whatever a master really does on the lines rather than what it meant to do.
//
// START and STOP are SDA edges while SCL stays high. Bits are sampled on SCL rising edges,
// and everything the slave drives changes right after a falling edge: the acknowledge from
// the fall after the eighth bit to the fall of the ninth clock, read data bits MSB first.
// A slave that does not match the address, or refuses a byte, ignores the bus until the
// next START or STOP. Derived devices decide what to acknowledge and what to send.
//
// A slave may also stretch the clock: hold SCL low for a while after each byte it takes
// part in, from the fall that ends the byte's acknowledge clock, as a device that needs
// time to handle the byte does. The bus keeps the time and holds SCL.
class I2cSlave {
 public:
  // address7: the 7-bit address, without the read/write bit.
  explicit I2cSlave(std::uint8_t address7) : address_(i2c::DeviceAddress::fromSevenBit(address7)) {}
  virtual ~I2cSlave() = default;
  I2cSlave(const I2cSlave&) = delete;
  I2cSlave& operator=(const I2cSlave&) = delete;

  std::uint8_t address7() const { return address_.sevenBit(); }
  // The SDA output: true while the slave leaves the line to the pull-up.
  bool releasesSda() const { return sdaReleased_; }
  // True from the acknowledge of this slave's address until the next STOP or START.
  bool inTransfer() const { return engaged_; }

  // The wire levels after a change. Only one level is expected to change per call; if both
  // do, the clock edge wins and the SDA change is taken as data.
  void sense(bool scl, bool sda);
  // Takes the levels as they are now without treating them as a change, as on power-up.
  void syncLines(bool scl, bool sda) {
    scl_ = scl;
    sda_ = sda;
  }

  // Nanoseconds of SCL held low after each byte from now on; 0 (the default) never.
  void setClockStretch(std::int64_t ns) { stretchNs_ = ns; }
  // The stretch begun at the latest clock fall, handed to the bus once; 0 when none.
  std::int64_t takeStretch() {
    const std::int64_t stretch = pendingStretch_;
    pendingStretch_ = 0;
    return stretch;
  }

 protected:
  // The master addressed this slave; return whether to acknowledge.
  virtual bool addressed(bool /*read*/) { return true; }
  // A byte the master wrote; return whether to acknowledge it.
  virtual bool byteWritten(std::uint8_t /*value*/) { return true; }
  // The next byte to send in a read, asked for when its first bit goes on the wire.
  virtual std::uint8_t byteToRead() { return 0xFF; }
  // A STOP ended a transfer this slave took part in.
  virtual void stopped() {}

  // Puts the slave where a master reset in the middle of a read leaves it: `bitsClocked`
  // bits (1 to 8) of `value` already clocked out and SCL high, so bit `bitsClocked` - 1
  // (counting from the MSB) is still on SDA.
  void resumeMidRead(std::uint8_t value, int bitsClocked);

 private:
  enum class Phase { Idle, Address, Write, Read };

  void onStart();
  void onStop();
  void onClockRise();
  void onClockFall();
  void receiverFall();
  void transmitterFall();
  void finishReceivedByte();
  void loadByteToRead();
  void driveBit(int index) { sdaReleased_ = ((outgoing_ >> (7 - index)) & 1) != 0; }
  void release() { sdaReleased_ = true; }
  void stretchAfterByte() { pendingStretch_ = stretchNs_; }

  i2c::DeviceAddress address_;
  bool scl_ = true;
  bool sda_ = true;
  bool sdaReleased_ = true;
  Phase phase_ = Phase::Idle;
  // Rising edges seen in the current byte, the ninth (acknowledge) clock included.
  int clocks_ = 0;
  std::uint8_t incoming_ = 0;
  std::uint8_t outgoing_ = 0;
  bool readRequested_ = false;
  // The acknowledge of the current byte: the one this slave gave, or in a read the master's.
  bool acked_ = false;
  bool engaged_ = false;
  std::int64_t stretchNs_ = 0;
  std::int64_t pendingStretch_ = 0;
};

}  // namespace brelvion::simulator
