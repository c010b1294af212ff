#include "CliRegisterCommands.h"

#include "CliRun.h"
#include "bus/RegisterAccess.h"
#include "numconv/HexText.h"
#include "registers/Fields.h"
#include "registers/MapFiles.h"

namespace brelvion::apps::cli {

namespace {

constexpr std::size_t kBytesPerLine = 16;

i2c::ByteOrder orderOf(const RegisterTarget& request, i2c::ByteOrder otherwise) {
  return request.littleEndian ? i2c::ByteOrder::LittleEndian : otherwise;
}

// write is the write's request, or nullptr for a read.
PreparedRegisters prepareByName(const RegisterTarget& request, const WriteRequest* write) {
  RegisterCommand command;
  registers::RegisterMap map = registers::loadRegisterMap(*request.mapFile);
  if (request.addressBytes) map.format.addressBytes = *request.addressBytes;
  if (request.valueBytes) map.format.valueBytes = *request.valueBytes;
  map.format.order = orderOf(request, map.format.order);
  const registers::Register* found = map.findByName(request.registerName);
  if (found == nullptr) {
    return UsageError{"no register named " + shownArgument(request.registerName) + " in " +
                      *request.mapFile};
  }
  // --value-bits wins over the register's own width too, as over the file's default.
  registers::Register* reg = &map.registers[static_cast<std::size_t>(found - map.registers.data())];
  if (request.valueBytes) reg->valueBytes = *request.valueBytes;
  if (request.deviceGiven) {
    command.device = static_cast<std::uint8_t>(request.device);
  } else if (map.deviceAddress) {
    command.device = *map.deviceAddress;
  } else {
    return UsageError{*request.mapFile + " gives no i2c-address: name the device (" +
                      (write != nullptr ? "write DEV NAME DATA" : "read DEV NAME") +
                      ")"};
  }
  if (map.format.addressBytes != 0 && reg->end() - 1 > map.maxAddress()) {
    return UsageError{reg->name + " at " + numconv::upperHex(reg->address) +
                      "h does not fit --reg-bits " + std::to_string(8 * map.format.addressBytes)};
  }
  if (write == nullptr && !reg->readable()) {
    return UsageError{reg->name + " is write-only: it is never read"};
  }
  if (write != nullptr) {
    if (!reg->writable()) return UsageError{reg->name + " is read-only: it is never written"};
    if (static_cast<int>(write->dataText.size()) > 2 * reg->valueBytes) {
      return UsageError{"DATA must be 1 to " + std::to_string(2 * reg->valueBytes) +
                        " hex digits for " + reg->name + " (" +
                        std::to_string(8 * reg->valueBytes) + " bits), not " +
                        shownArgument(write->dataText)};
    }
  }
  command.format = map.formatFor(reg->valueBytes);
  command.registerAddress = reg->address;
  command.value = write != nullptr ? static_cast<std::uint32_t>(write->data) : 0;
  command.registerIndex = static_cast<std::size_t>(reg - map.registers.data());
  command.map = std::move(map);
  return command;
}

// "0100 MODE_SELECT".
std::string registerHead(const RegisterCommand& command) {
  const registers::Register& reg = command.map->registers[command.registerIndex];
  return registers::addressHex(reg.address, command.map->format.addressBytes) + " " + reg.name;
}

std::string registerLine(const RegisterCommand& command, std::uint32_t value) {
  const registers::Register& reg = command.map->registers[command.registerIndex];
  return registerHead(command) + " " + registers::valueHex(value, reg.valueBytes);
}

void printFields(const RegisterCommand& command, std::uint32_t value, std::ostream& out) {
  const registers::Register& reg = command.map->registers[command.registerIndex];
  for (const std::string& line : registers::decodedFieldLines(reg, value)) out << line << '\n';
}

int runWrite(const RegisterCommand& command, i2c::I2cMaster& master, std::ostream& out) {
  const bool written = bus::writeRegister(master, command.device, command.format,
                                          command.registerAddress, command.value)
                           .acknowledged();
  const bool readable = !command.map || command.map->registers[command.registerIndex].readable();
  if (!readable) {
    out << registerHead(command) << " (write-only, not read back) " << (written ? "ACK" : "NO ACK")
        << '\n';
    return written ? kExitAcknowledged : kExitNotAcknowledged;
  }
  const bus::RegisterRead back =
      bus::readRegisters(master, command.device, command.format, command.registerAddress, 1);
  const bool acknowledged = written && back.acknowledged();
  const std::uint32_t value = back.values.empty() ? 0 : back.values[0];
  if (command.map && !acknowledged) {
    out << registerHead(command) << " NO ACK\n";
    return kExitNotAcknowledged;
  }
  if (command.map) {
    out << registerLine(command, value);
  } else {
    out << registers::valueHex(value, command.format.valueBytes);
  }
  out << ' ' << (acknowledged ? "ACK" : "NO ACK") << '\n';
  if (command.map) printFields(command, value, out);
  return acknowledged ? kExitAcknowledged : kExitNotAcknowledged;
}

int runRead(const RegisterCommand& command, i2c::I2cMaster& master, std::ostream& out) {
  const bus::RegisterRead read = bus::readRegisters(master, command.device, command.format,
                                                    command.registerAddress, command.count);
  // A refused read has no value to show: the lines' would be FF, an adapter's none at all.
  if (command.map && !read.acknowledged()) {
    out << registerHead(command) << " NO ACK\n";
  } else if (command.map) {
    out << registerLine(command, read.values.at(0)) << '\n';
    printFields(command, read.values[0], out);
  } else {
    const std::size_t perLine = kBytesPerLine / static_cast<std::size_t>(command.format.valueBytes);
    for (std::size_t i = 0; i < read.values.size(); ++i) {
      out << registers::valueHex(read.values[i], command.format.valueBytes)
          << ((i + 1) % perLine == 0 || i + 1 == read.values.size() ? '\n' : ' ');
    }
  }
  return read.acknowledged() ? kExitAcknowledged : kExitNotAcknowledged;
}

// write or read: in a format of its own, or by name.
PreparedRegisters prepareTarget(const RegisterTarget& request, const WriteRequest* write,
                                int count) {
  if (request.mapFile) return prepareByName(request, write);
  RegisterCommand command;
  command.format = {request.addressBytes.value_or(1), request.valueBytes.value_or(1),
                    orderOf(request, i2c::ByteOrder::BigEndian)};
  if (command.format.addressBytes == 1 && command.format.valueBytes == 1) return DesignRegisters{};
  command.device = static_cast<std::uint8_t>(request.device);
  command.registerAddress = static_cast<std::uint32_t>(request.subAddress);
  command.value = write != nullptr ? static_cast<std::uint32_t>(write->data) : 0;
  command.count = static_cast<std::size_t>(count);
  return command;
}

}  // namespace

PreparedRegisters prepareRegisterCommand(const CommandRequest& request) {
  const auto* write = std::get_if<WriteRequest>(&request);
  const auto* read = std::get_if<ReadRequest>(&request);
  if (write != nullptr) return prepareTarget(*write, write, 1);
  if (read != nullptr) return prepareTarget(*read, nullptr, read->count);
  return DesignRegisters{};
}

int runRegisterCommand(const CommandRequest& request, const RegisterCommand& command,
                       i2c::I2cMaster& master, std::ostream& out) {
  return std::holds_alternative<WriteRequest>(request) ? runWrite(command, master, out)
                                                       : runRead(command, master, out);
}

}  // namespace brelvion::apps::cli
