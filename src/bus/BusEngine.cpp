#include "bus/BusEngine.h"

#include "bus/BusMessages.h"
#include "platform/LptRegisters.h"

namespace brelvion::bus {

void BusEngine::BitDelay(double d) {
  // Passes 0 to 1000 * d inclusive; the end is fixed before the first pass.
  const double end = 1000.0 * d;
  for (double pass = 0; pass <= end; pass += 1) port_.waitQuantum();
}

bool BusEngine::sdaSensedHigh() { return platform::sdaHighInStatus(port_.inpb(state_.StatusPort)); }

void BusEngine::InitPort(std::int16_t timeout) {
  // Each pulse lets a slave caught in the middle of a byte shift out one more bit, and
  // SDA rising while SCL is high ends whatever transfer it thought it was in.
  for (int pulse = 0; pulse < 6; ++pulse) {
    sdaLow();
    sclHigh();
    sdaHigh();
    sclLow();
  }
  state_.AckTimeout = timeout;
  sclHigh();
  log(kSysInitialised);
}

}  // namespace brelvion::bus
