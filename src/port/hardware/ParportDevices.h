#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brelvion::port::hardware {

// One parallel port the Linux parport layer knows, and the ppdev node that reaches it.
struct ParportDevice {
  std::string name;        // "parport0"; its ppdev node has the same number
  std::string devicePath;  // "/dev/parport0" under the given root
  // The port's I/O base as the kernel reports it; empty when the kernel does not say.
  std::optional<std::uint64_t> base;
  // Whether devicePath exists. Without ppdev loaded the kernel still lists the port, but
  // there is nothing to open.
  bool nodePresent = false;

  bool operator==(const ParportDevice&) const = default;
};

// The parallel ports under root ("/" on a running system), by port number.
//
// Bases come from <root>/proc/sys/dev/parport/parportN/base-addr, which parport fills in
// for every registered port (decimal base, a tab, the decimal ECP base); nodes are
// <root>/dev/parportN. A port listed in only one of the two places is still returned.
// Unreadable or malformed entries give an empty base; this never throws.
std::vector<ParportDevice> listParportDevices(const std::filesystem::path& root = "/");

// Whether any port at one of the three LPT addresses has a ppdev node to open: what the
// backend choice "auto" asks. A port elsewhere (a PCIe card at D000h, say) cannot carry
// the bus, since the engine addresses the registers by the LPT addresses.
bool anyUsableParport(const std::vector<ParportDevice>& devices);

// A port the kernel lists at one of the LPT addresses that has no ppdev node: the ppdev
// module is not loaded. nullptr when there is none.
const ParportDevice* lptPortWithoutNode(const std::vector<ParportDevice>& devices);

// The index in kLptBases (0 = LPT1) of a port with a ppdev node at another LPT address,
// when base itself has none: the port a user who chose base most likely has.
std::optional<std::size_t> usableLptIndexInsteadOf(const std::vector<ParportDevice>& devices,
                                                   std::uint16_t base);

// "/dev/parport0 at 0x378, /dev/parport1 at an unknown address", for error messages.
std::string describeParportDevices(const std::vector<ParportDevice>& devices);

}  // namespace brelvion::port::hardware
