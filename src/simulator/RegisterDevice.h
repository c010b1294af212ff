#pragma once

#include <array>
#include <cstdint>

#include "simulator/I2cSlave.h"

namespace brelvion::simulator {

// A slave with 256 byte registers behind a register pointer, the usual shape of a sensor's
// control interface. The first byte after the write address sets the pointer; every
// further byte written is stored at the pointer, and every byte read comes from it, the
// pointer moving on by one each time and wrapping from FFh to 00h. A read starts wherever
// the latest write or read left the pointer.
class RegisterDevice : public I2cSlave {
 public:
  using Registers = std::array<std::uint8_t, 256>;

  RegisterDevice(std::uint8_t address7, const Registers& initial)
      : I2cSlave(address7), registers_(initial) {}

  std::uint8_t registerValue(std::uint8_t index) const { return registers_[index]; }
  std::uint8_t pointer() const { return pointer_; }

 protected:
  bool addressed(bool read) override;
  bool byteWritten(std::uint8_t value) override;
  std::uint8_t byteToRead() override;

  // Stores a byte the master wrote; devices with read-only or command registers decide here.
  virtual void store(std::uint8_t index, std::uint8_t value) { registers_[index] = value; }
  Registers& registers() { return registers_; }

 private:
  Registers registers_;
  std::uint8_t pointer_ = 0;
  bool pointerNext_ = false;
};

}  // namespace brelvion::simulator
