#include "simulator/SimulatedBusConfig.h"

#include <algorithm>
#include <string>

#include "base/RuntimeError.h"
#include "numconv/HexText.h"
#include "port/LptRegisters.h"
#include "simulator/CameraSensor.h"
#include "simulator/Sensor16.h"
#include "simulator/SimulatedI2cBus.h"

namespace brelvion::simulator {

namespace {

[[noreturn]] void reject(const std::string& why) {
  throw base::RuntimeError(base::RuntimeError::kInvalidCall, "Simulated Bus", why);
}

std::string hex(unsigned value) { return numconv::upperHex(value, 2) + "h"; }

}  // namespace

void checkSimulatedBusConfig(const SimulatedBusConfig& config) {
  if (!port::isLptBase(config.cabledBase)) {
    reject("No parallel port at " + hex(config.cabledBase) + " to plug the cable into");
  }
  std::vector<std::uint8_t> addresses = config.sensorAddresses;
  addresses.insert(addresses.end(), config.sensor16Addresses.begin(),
                   config.sensor16Addresses.end());
  for (auto it = addresses.begin(); it != addresses.end(); ++it) {
    if ((*it & 1) != 0) reject("Sensor address " + hex(*it) + " is not an even write address");
    if (std::find(addresses.begin(), it, *it) != it) {
      reject("Two sensors at the same address " + hex(*it));
    }
  }
  if (config.stopAckingAfterBytes && *config.stopAckingAfterBytes < 0) {
    reject("The number of bytes a sensor acknowledges cannot be negative");
  }
  if (config.stuckMidByte && config.sensorAddresses.empty()) {
    reject("A stuck bus needs a sensor to hold it");
  }
  if (config.stuckMidByte && (config.stuckBitsClocked < 1 || config.stuckBitsClocked > 8)) {
    reject("A stuck sensor is stopped after 1 to 8 bits of its byte, not " +
           std::to_string(config.stuckBitsClocked));
  }
  if (config.clockStretchNs < 0) reject("A clock stretch cannot be negative");
}

void attachSensors(SimulatedI2cBus& bus, const SimulatedBusConfig& config) {
  for (std::uint8_t address : config.sensorAddresses) {
    CameraSensorOptions options;
    options.writeAddress = address;
    options.acknowledgeLimit = config.stopAckingAfterBytes;
    options.stuckMidByte = config.stuckMidByte;
    options.stuckBitsClocked = config.stuckBitsClocked;
    options.clockStretchNs = config.clockStretchNs;
    bus.attach(std::make_unique<CameraSensor>(options));
  }
  for (std::uint8_t address : config.sensor16Addresses) {
    bus.attach(std::make_unique<Sensor16>(address, [&bus] { return bus.nowNs(); }));
  }
  if (config.sdaHeldLow) bus.holdSdaLow();
}

}  // namespace brelvion::simulator
