#include "port/simulated/RegisterDevice.h"

namespace brelvion::port::simulated {

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

}  // namespace brelvion::port::simulated
