#include "CliRegisterArguments.h"

#include "PortOptions.h"
#include "ShownArgument.h"
#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "registers/RegisterMap.h"

namespace brelvion::apps::cli {

namespace {

using apps::shownArgument;

constexpr int kMaxReadCount = 32768;

ArgumentError wideHexArgument(const std::string& text, const char* what, std::optional<int> bytes,
                              const char* option, std::uint64_t& target) {
  if (bytes.value_or(1) == 1) {
    std::int16_t byte = 0;
    if (auto error = hexArgument(text, what, byte)) return error;
    target = static_cast<std::uint64_t>(byte);
    return std::nullopt;
  }
  std::uint64_t value = 0;
  bool valid = !text.empty() && static_cast<int>(text.size()) <= 2 * *bytes;
  for (char ch : text) {
    const auto digit = numconv::hexDigitValue(ch);
    valid = valid && digit.has_value();
    if (digit) value = (value << 4) | static_cast<std::uint64_t>(*digit);
  }
  if (!valid) {
    return std::string(what) + " must be 1 to " + std::to_string(2 * *bytes) + " hex digits (" +
           option + " " + std::to_string(8 * *bytes) + "), not " + shownArgument(text);
  }
  target = value;
  return std::nullopt;
}

// SUB or DATA of a register format: up to two hex digits a byte (the design's one or two
// without a width option).
template <typename Integer>
ArgumentError registerArgument(const std::string& text, const char* what, std::optional<int> bytes,
                               const char* option, Integer& target) {
  std::uint64_t value = 0;
  if (auto error = wideHexArgument(text, what, bytes, option, value)) return error;
  target = static_cast<Integer>(value);
  return std::nullopt;
}

// --reg-bits, --value-bits, --le and --map, which write and read take.
void takeRegisterOptions(const CommandOptions& given, RegisterTarget& target) {
  target.addressBytes = widthBytes(given, "--reg-bits");
  target.valueBytes = widthBytes(given, "--value-bits");
  target.littleEndian = given.has("--le");
  target.mapFile = given.value("--map");
}

// DEV and SUB of write and read in a register format.
ArgumentError targetArguments(const std::vector<std::string>& arguments, bool sevenBit,
                              RegisterTarget& target) {
  if (auto error = addressArgument(arguments[0], "DEV", sevenBit, target.device)) return error;
  return registerArgument(arguments[1], "SUB", target.addressBytes, "--reg-bits",
                          target.subAddress);
}

// [DEV] NAME and, for a write, DATA, under --map; what follows NAME is checked by the caller.
ArgumentError namedArguments(std::vector<std::string>& arguments, bool write, bool sevenBit,
                             RegisterTarget& target) {
  const char* usage =
      write ? "with --map, write wants [DEV] NAME DATA" : "with --map, read wants [DEV] NAME";
  const std::size_t named = write ? 2 : 1;
  if (arguments.size() < named || arguments.size() > named + 1) return usage;
  target.deviceGiven = arguments.size() > named;
  if (target.deviceGiven) {
    // A register name first: what follows it is one argument too many, not a misspelt DEV.
    if (registers::validName(arguments[0]) && !apps::hexField(arguments[0])) {
      return "unexpected " + shownArgument(arguments.back()) + ": " + usage;
    }
    if (auto error = addressArgument(arguments[0], "DEV", sevenBit, target.device)) return error;
    arguments.erase(arguments.begin());
  }
  target.registerName = arguments[0];
  return std::nullopt;
}

ArgumentError writeByName(std::vector<std::string> arguments, bool sevenBit, WriteRequest& write) {
  if (auto error = namedArguments(arguments, true, sevenBit, write)) return error;
  write.dataText = arguments[1];
  // The register's width is known once the map is read; up to 32 bits for now.
  if (registerArgument(arguments[1], "DATA", 32, "--value-bits", write.data)) {
    return "DATA must be hex digits, not " + shownArgument(arguments[1]);
  }
  return std::nullopt;
}

}  // namespace

ArgumentError hexArgument(const std::string& text, const char* what, std::int16_t& target) {
  const auto value = apps::hexField(text);
  if (!value) {
    return std::string(what) + " must be one or two hex digits, not " + shownArgument(text);
  }
  target = *value;
  return std::nullopt;
}

ArgumentError addressArgument(const std::string& text, const char* what, bool sevenBit,
                              std::int16_t& device) {
  const auto address = i2c::DeviceAddress::parse(text, i2c::addressForm(sevenBit));
  if (!address) {
    return std::string(what) +
           (sevenBit ? " must be a 7-bit address with --7bit, 0 to 7F, not "
                     : " must be one or two hex digits, not ") +
           shownArgument(text);
  }
  device = address->byte();
  return std::nullopt;
}

ArgumentError deviceOption(const CommandOptions& given, bool sevenBit,
                           std::optional<std::int16_t>& device) {
  const auto text = given.value("--device");
  if (!text) return std::nullopt;
  std::int16_t address = 0;
  if (auto error = addressArgument(*text, "--device", sevenBit, address)) return error;
  device = address;
  return std::nullopt;
}

ArgumentError parseWrite(const std::vector<std::string>& arguments, const CommandOptions& given,
                         CliRequest& request) {
  WriteRequest& write = request.command.emplace<WriteRequest>();
  takeRegisterOptions(given, write);
  if (write.mapFile) return writeByName(arguments, request.sevenBit, write);
  if (auto error = targetArguments(arguments, request.sevenBit, write)) return error;
  return registerArgument(arguments[2], "DATA", write.valueBytes, "--value-bits", write.data);
}

ArgumentError parseRead(const std::vector<std::string>& arguments, const CommandOptions& given,
                        CliRequest& request) {
  ReadRequest& read = request.command.emplace<ReadRequest>();
  takeRegisterOptions(given, read);
  if (read.mapFile) {
    std::vector<std::string> named = arguments;
    return namedArguments(named, false, request.sevenBit, read);
  }
  if (auto error = targetArguments(arguments, request.sevenBit, read)) return error;
  if (arguments.size() == 3) {
    const auto count = decimal(arguments[2]);
    if (!count || *count < 1 || *count > kMaxReadCount) {
      return "N must be a decimal count from 1 to 32768, not " + shownArgument(arguments[2]);
    }
    read.count = *count;
  }
  return std::nullopt;
}

ArgumentError refuseForRegisters(const CommandOptions& given, const CliRequest&) {
  return refuseScriptOptions(given);
}

}  // namespace brelvion::apps::cli
