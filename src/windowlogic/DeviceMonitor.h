#pragma once

#include <cstdint>
#include <string>

#include "i2c/OutcomeText.h"

namespace brelvion::windowlogic {

struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kAckIdleColour{128, 128, 128};
inline constexpr Rgb kAckColour{0, 255, 0};
inline constexpr Rgb kNoAckColour{255, 0, 0};
inline constexpr const char* kAckCaption = i2c::kAckText;
inline constexpr const char* kNoAckCaption = i2c::kNoAckText;

// What the acknowledge indicator shows after a bus command: green "ACK" when the last
// acknowledge wait was answered, red "NO ACK" when not.
struct AckLook {
  const char* caption;
  Rgb colour;
};
inline AckLook ackLookFor(bool ackReceived) {
  return ackReceived ? AckLook{kAckCaption, kAckColour} : AckLook{kNoAckCaption, kNoAckColour};
}

// The acknowledge indicator of the main window, as the bus commands drive it.
class DeviceMonitor {
 public:
  virtual ~DeviceMonitor() = default;
  // Grey and hidden, keeping its caption.
  virtual void initDeviceMonitor() = 0;
  // Shown, with the look of the command's acknowledge.
  virtual void updateDeviceMonitor(bool acknowledged) = 0;
};

}  // namespace brelvion::windowlogic
