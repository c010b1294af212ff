#include "simulator/RegisterDevice.h"

namespace brelvion::simulator {

bool RegisterDevice::addressed(bool read) {
  pointerNext_ = !read;
  return true;
}

bool RegisterDevice::byteWritten(std::uint8_t value) {
  if (pointerNext_) {
    pointer_ = value;
    pointerNext_ = false;
  } else {
    store(pointer_++, value);
  }
  return true;
}

std::uint8_t RegisterDevice::byteToRead() { return registers_[pointer_++]; }

}  // namespace brelvion::simulator
