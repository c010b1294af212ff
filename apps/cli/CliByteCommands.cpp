#include "CliByteCommands.h"

#include <cstdint>
#include <vector>

#include "CliRun.h"
#include "bus/LineControls.h"
#include "core/RegisterCommands.h"
#include "numconv/HexText.h"

namespace brelvion::apps::cli {

namespace {

constexpr std::size_t kBytesPerLine = 16;

}  // namespace

std::string hexByte(int value) {
  return numconv::upperHex(static_cast<std::uint64_t>(value & 0xFF), 2);
}

int exitStatusOf(bool acknowledged) {
  return acknowledged ? kExitAcknowledged : kExitNotAcknowledged;
}

int runWrite(const WriteRequest& request, bus::BusMaster& master, i2c::AfterMessage pointerThen,
             std::ostream& out) {
  const auto device = static_cast<std::uint8_t>(request.device);
  const auto subAddress = static_cast<std::uint8_t>(request.subAddress);
  core::writeByteRegister(master, device, subAddress, static_cast<std::uint8_t>(request.data));
  const bus::RegisterRead read =
      core::readByteRegisters(master, pointerThen, device, subAddress, 2);
  const bool acknowledged = read.transfer.lastAcknowledged();
  // An adapter that refused the read returned no byte to show.
  out << (read.bytes.empty() ? std::string("--") : hexByte(read.bytes[0])) << ' '
      << (acknowledged ? "ACK" : "NO ACK") << '\n';
  return exitStatusOf(acknowledged);
}

int runRecover(bus::BusMaster& master, std::chrono::milliseconds stretchTimeout,
               std::ostream& out) {
  const bus::RecoveryResult result = master.recoverBus();
  out << bus::recoveryText(result, stretchTimeout) << '\n';
  return exitStatusOf(result.free);
}

int runRead(const ReadRequest& request, bus::BusMaster& master, i2c::AfterMessage pointerThen,
            std::ostream& out) {
  const bus::RegisterRead read =
      core::readByteRegisters(master, pointerThen, static_cast<std::uint8_t>(request.device),
                              static_cast<std::uint8_t>(request.subAddress),
                              static_cast<std::size_t>(request.count));
  const std::vector<std::uint8_t>& bytes = read.bytes;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    out << hexByte(bytes[i])
        << ((i + 1) % kBytesPerLine == 0 || i + 1 == bytes.size() ? '\n' : ' ');
  }
  return exitStatusOf(read.transfer.lastAcknowledged());
}

}  // namespace brelvion::apps::cli
