#pragma once

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "bus/BusMaster.h"

namespace brelvion::bus {

// How an address is asked whether anything answers there, as i2cdetect does by default:
// a quick write (the address alone), but a one-byte read at 7-bit 30h-37h and 50h-5Fh,
// where a write could change an EEPROM's address pointer or protection.
enum class ProbeMethod { QuickWrite, ReadByte };
ProbeMethod probeMethodFor(std::uint8_t address7);

// The 7-bit addresses a scan probes, both included.
struct ScanRange {
  std::uint8_t first7 = 0x08;
  std::uint8_t last7 = 0x77;
  bool contains(unsigned address7) const { return address7 >= first7 && address7 <= last7; }
};
// 08h to 77h, leaving out the reserved addresses at either end; and every address.
inline constexpr ScanRange kUsualScanRange{0x08, 0x77};
inline constexpr ScanRange kFullScanRange{0x00, 0x7F};

struct ScanOutcome {
  // Something held SDA low with both lines released: nothing was probed.
  bool sdaHeldLow = false;
  // The 8-bit write addresses that answered, lowest first.
  std::vector<std::uint8_t> answered;
};

// What a user is told when a scan finds SDA held low.
inline constexpr std::string_view kSdaHeldLowText =
    "SDA is held low: something on the bus (a device stuck in a transfer, a short, a missing "
    "pull-up) keeps the data line down, so nothing was probed. Switch the devices off and on, "
    "check the cable and the pull-ups, then scan again";

// Probes every address of range, one transfer each (master.probe), on the master's bus:
// lines, or an adapter. On lines, first releases both and reads SDA back; when it stays
// low, probes nothing. stop, when given, is asked before each probe: true ends the
// scan there (what answered so far stands).
ScanOutcome scanBus(BusMaster& master, ScanRange range = kUsualScanRange,
                    const std::function<bool()>& stop = {});

}  // namespace brelvion::bus
