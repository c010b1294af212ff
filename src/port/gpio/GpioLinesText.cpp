#include "port/gpio/GpioLinesText.h"

#include <charconv>

#include "port/gpio/GpioText.h"

namespace brelvion::port::gpio {

namespace {

constexpr std::string_view kPrefix = "gpio:";
constexpr std::string_view kForm = "gpio:CHIP:SCL,SDA (for example gpio:gpiochip0:3,2)";

std::optional<std::string> parseLine(std::string_view text, const char* role, GpioLineName& line) {
  const std::string which = std::string("the ") + role + " line";
  if (text.empty()) return which + " is empty: " + std::string(kForm);
  if (!allDigits(text)) {
    if (text.size() > kGpioNameMax) {
      return which + "'s name is longer than a GPIO line name can be (" +
             std::to_string(kGpioNameMax) + " characters)";
    }
    line = {std::nullopt, std::string(text)};
    return std::nullopt;
  }
  std::uint32_t offset = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), offset);
  if (error != std::errc{} || end != text.data() + text.size()) {
    return which + " offset is too large for a GPIO line offset";
  }
  line = {offset, {}};
  return std::nullopt;
}

std::string lineText(const GpioLineName& line) {
  return line.offset ? std::to_string(*line.offset) : line.name;
}

}  // namespace

std::optional<std::string> parseGpioLines(std::string_view text, GpioLinesChoice& choice) {
  if (text.substr(0, kPrefix.size()) != kPrefix) {
    return "GPIO lines are written " + std::string(kForm);
  }
  const std::string_view rest = text.substr(kPrefix.size());
  const std::size_t colon = rest.rfind(':');
  if (colon == std::string_view::npos) {
    return "the chip and its lines are written " + std::string(kForm);
  }
  const std::string_view chip = rest.substr(0, colon);
  const std::string_view lines = rest.substr(colon + 1);
  if (chip.empty()) return "the chip is missing: " + std::string(kForm);
  const std::size_t comma = lines.find(',');
  if (comma == std::string_view::npos || lines.find(',', comma + 1) != std::string_view::npos) {
    return "two lines are needed, SCL then SDA, with a comma between: " + std::string(kForm);
  }
  GpioLinesChoice parsed;
  parsed.chip = std::string(chip);
  if (auto error = parseLine(lines.substr(0, comma), "SCL", parsed.scl)) return error;
  if (auto error = parseLine(lines.substr(comma + 1), "SDA", parsed.sda)) return error;
  if (parsed.scl == parsed.sda) return "SCL and SDA must be two different lines";
  choice = std::move(parsed);
  return std::nullopt;
}

std::string gpioLinesText(const GpioLinesChoice& choice) {
  return std::string(kPrefix) + choice.chip + ":" + lineText(choice.scl) + "," +
         lineText(choice.sda);
}

}  // namespace brelvion::port::gpio
