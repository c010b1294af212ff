#include "scripts/CommandFileWrites.h"

#include "i2c/DeviceAddress.h"

namespace brelvion::scripts {

Step commandFileWrite(std::uint8_t device, std::uint8_t reg, std::uint8_t data) {
  Step write;
  write.op = Op::Write;
  write.target = Target{i2c::DeviceAddress::fromByte(device).writeByte(), i2c::kByteRegisters};
  write.reg = reg;
  write.value = data;
  return write;
}

void appendSentWrite(std::vector<Step>& steps, const Step& write, double delay) {
  steps.push_back(write);
  steps.push_back(Step::pause(kPauseAfterWrite));
  steps.push_back(Step::pause(delay));
  steps.push_back(Step::yield());
}

}  // namespace brelvion::scripts
