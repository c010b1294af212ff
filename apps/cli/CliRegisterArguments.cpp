#include "CliRegisterArguments.h"

#include "CliMapArguments.h"
#include "PortOptions.h"
#include "numconv/HexText.h"
#include "port/DeviceAddress.h"
#include "registers/RegisterMap.h"

namespace brelvion::apps::cli {

namespace {

ArgumentError wideHexArgument(const std::string& text, const char* what,
                              std::optional<int> bits, const char* option,
                              std::uint64_t& target) {
  if (bits.value_or(8) == 8) {
    std::int16_t byte = 0;
    if (auto error = hexArgument(text, what, byte)) return error;
    target = static_cast<std::uint64_t>(byte);
    return std::nullopt;
  }
  std::uint64_t value = 0;
  bool valid = !text.empty() && static_cast<int>(text.size()) <= *bits / 4;
  for (char ch : text) {
    const auto digit = numconv::hexDigitValue(ch);
    valid = valid && digit.has_value();
    if (digit) value = (value << 4) | static_cast<std::uint64_t>(*digit);
  }
  if (!valid) {
    return std::string(what) + " must be 1 to " + std::to_string(*bits / 4) + " hex digits (" +
           option + " " + std::to_string(*bits) + "), not " + shownArgument(text);
  }
  target = value;
  return std::nullopt;
}

}  // namespace

ArgumentError hexArgument(const std::string& text, const char* what, std::int16_t& target) {
  const auto value = apps::hexField(text);
  if (!value)
    return std::string(what) + " must be one or two hex digits, not " + shownArgument(text);
  target = *value;
  return std::nullopt;
}

// DEV as the tool keeps it, the 8-bit write address, whichever way it was given.
ArgumentError deviceArgument(const std::string& text, CliRequest& request) {
  return deviceArgument(text, "DEV", request);
}

ArgumentError deviceArgument(const std::string& text, const char* what, CliRequest& request) {
  const auto address = port::DeviceAddress::parse(text, port::addressForm(request.sevenBit));
  if (!address) {
    return std::string(what) +
           (request.sevenBit ? " must be a 7-bit address with --7bit, 0 to 7F, not "
                             : " must be one or two hex digits, not ") +
           shownArgument(text);
  }
  request.device = address->byte();
  return std::nullopt;
}

ArgumentError registerArgument(const std::string& text, const char* what,
                               std::optional<int> bits, const char* option,
                               std::int32_t& target) {
  std::uint64_t value = 0;
  if (auto error = wideHexArgument(text, what, bits, option, value)) return error;
  target = static_cast<std::int32_t>(value);
  return std::nullopt;
}

ArgumentError registerArgument(const std::string& text, const char* what,
                               std::optional<int> bits, const char* option,
                               std::int64_t& target) {
  std::uint64_t value = 0;
  if (auto error = wideHexArgument(text, what, bits, option, value)) return error;
  target = static_cast<std::int64_t>(value);
  return std::nullopt;
}

ArgumentError applyByName(const std::vector<std::string>& words, CliRequest& request) {
  const bool write = words[0] == "write";
  request.command = write ? Command::Write : Command::Read;
  std::vector<std::string> arguments(words.begin() + 1, words.end());
  const std::size_t named = write ? 2 : 1;
  if (arguments.size() < named || arguments.size() > named + 1) {
    return write ? "with --map, write wants [DEV] NAME DATA" : "with --map, read wants [DEV] NAME";
  }
  request.deviceGiven = arguments.size() > named;
  if (request.deviceGiven) {
    // A register name first: what follows it is one argument too many, not a misspelt DEV.
    if (registers::validName(arguments[0]) && !apps::hexField(arguments[0])) {
      return "unexpected " + shownArgument(arguments.back()) +
             (write ? ": with --map, write wants [DEV] NAME DATA"
                    : ": with --map, read wants [DEV] NAME");
    }
    if (auto error = deviceArgument(arguments[0], request)) return error;
    arguments.erase(arguments.begin());
  }
  request.registerName = arguments[0];
  if (write) {
    request.dataText = arguments[1];
    // The register's width is known once the map is read; up to 32 bits for now.
    if (registerArgument(arguments[1], "DATA", 32, "--value-bits", request.data)) {
      return "DATA must be hex digits, not " + shownArgument(arguments[1]);
    }
  }
  return std::nullopt;
}

ArgumentError checkRegisterOptions(const CliRequest& request) {
  if (isMapCommand(request.command)) return checkMapOptions(request);
  const bool registers = request.command == Command::Write || request.command == Command::Read;
  const bool given =
      request.registerBits || request.valueBits || request.littleEndian || request.mapFile;
  if (given && !registers) {
    return "--reg-bits, --value-bits, --le and --map are for write and read; send and dump "
           "keep to one-byte registers";
  }
  return std::nullopt;
}

ArgumentError applyRegisterBits(const std::string& value, CliRequest& request) {
  if (value != "8" && value != "16") return "--reg-bits must be 8 or 16, not " + shownArgument(value);
  request.registerBits = std::stoi(value);
  return std::nullopt;
}

ArgumentError applyValueBits(const std::string& value, CliRequest& request) {
  if (value != "8" && value != "16" && value != "32") {
    return "--value-bits must be 8, 16 or 32, not " + shownArgument(value);
  }
  request.valueBits = std::stoi(value);
  return std::nullopt;
}

ArgumentError applyLittleEndian(const std::string&, CliRequest& request) {
  request.littleEndian = true;
  return std::nullopt;
}

ArgumentError applyMap(const std::string& value, CliRequest& request) {
  if (value.empty()) return "--map wants a file name";
  request.mapFile = value;
  return std::nullopt;
}

}  // namespace brelvion::apps::cli
