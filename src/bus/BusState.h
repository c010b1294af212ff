#pragma once

#include <cstdint>
#include <vector>

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
  // Outcome of the latest acknowledge wait.
  bool AckReceived = false;
  // The address byte while it is being sent and acknowledged, else 0.
  std::int16_t AddressPhase = 0;
  std::int16_t ReceivedByte = 0;
  // Bytes of the latest sequential read, index 0 first. On an adapter only the bytes it
  // received: none for a read it refused.
  std::vector<std::int16_t> ReadBuffer;
  // A register read's pointer write and read are one transfer with a repeated START
  // between them, instead of STOP then START (ReadRegisters).
  bool RepeatedStartReads = false;
};

}  // namespace brelvion::bus
