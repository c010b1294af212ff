#pragma once

#include <cstdint>

namespace brelvion::bus {

// The one record every bus procedure works on. Port addresses are 0 until OpenBus
// chooses a port; DebugEnabled 0 counts as "debugger never enabled".
struct BusState {
  std::uint16_t DataPort = 0;
  std::uint16_t StatusPort = 0;
  std::uint16_t ControlPort = 0;
  std::uint8_t SavedControl = 0;
  std::int16_t DebugEnabled = 0;
  // Status reads WaitAck makes before it gives up.
  std::int16_t AckTimeout = 0;
  // The argument of BitDelay after every line step.
  double BusDelay = 0;
  // Outcome of the latest acknowledge wait on the lines, from which the bit-banging master
  // tells how a message ended; a command's own outcome is the result of its transfer.
  bool AckReceived = false;
  // The address byte while it is being sent and acknowledged, else 0.
  std::int16_t AddressPhase = 0;
  std::int16_t ReceivedByte = 0;
};

}  // namespace brelvion::bus
