#include "port/PortChoice.h"

#include <array>
#include <vector>

#include "port/LptRegisters.h"

namespace brelvion::port {

namespace {

// A decimal number without sign or leading zeros, at most max.
std::optional<unsigned> canonicalNumber(std::string_view digits, unsigned max) {
  if (digits.empty() || digits.size() > 7 || (digits.size() > 1 && digits[0] == '0')) {
    return std::nullopt;
  }
  unsigned value = 0;
  for (char ch : digits) {
    if (ch < '0' || ch > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(ch - '0');
  }
  if (value > max) return std::nullopt;
  return value;
}

std::optional<PortChoice> parseLpt(std::string_view text) {
  for (std::size_t i = 0; i < kLptBases.size(); ++i) {
    if (text == "lpt" + std::to_string(i + 1)) return PortChoice::lpt(static_cast<std::int16_t>(i));
  }
  return std::nullopt;
}

std::optional<PortChoice> parseI2cDev(std::string_view text) {
  constexpr std::string_view kDevicePrefix = "/dev/";
  constexpr std::string_view kAdapterPrefix = "i2c-";
  if (text.substr(0, kDevicePrefix.size()) == kDevicePrefix) text.remove_prefix(kDevicePrefix.size());
  if (text.substr(0, kAdapterPrefix.size()) != kAdapterPrefix) return std::nullopt;
  const auto number =
      canonicalNumber(text.substr(kAdapterPrefix.size()), PortChoice::kMaxAdapterNumber);
  if (!number) return std::nullopt;
  return PortChoice::i2cDev(*number);
}

constexpr std::string_view kGpioPrefix = "gpio:";

std::optional<PortChoice> parseGpio(std::string_view text) {
  gpio::GpioLinesChoice lines;
  if (gpio::parseGpioLines(text, lines)) return std::nullopt;
  return PortChoice::gpio(std::move(lines));
}

struct KindSyntax {
  // Each a form of its own, for the list of forms.
  std::array<const char*, 3> forms;
  std::optional<PortChoice> (*parse)(std::string_view text);
};

const std::array<KindSyntax, 3> kKinds{{
    {{"lpt1", "lpt2", "lpt3"}, parseLpt},
    {{"i2c-N", "/dev/i2c-N", nullptr}, parseI2cDev},
    {{"gpio:CHIP:SCL,SDA", nullptr, nullptr}, parseGpio},
}};

}  // namespace

std::optional<PortChoice> PortChoice::parse(std::string_view text) {
  for (const KindSyntax& kind : kKinds) {
    if (auto choice = kind.parse(text)) return choice;
  }
  return std::nullopt;
}

std::optional<std::string> PortChoice::problemWith(std::string_view text) {
  if (text.substr(0, kGpioPrefix.size()) != kGpioPrefix) return std::nullopt;
  gpio::GpioLinesChoice unused;
  return gpio::parseGpioLines(text, unused);
}

std::string PortChoice::acceptedForms() {
  std::vector<const char*> forms;
  for (const KindSyntax& kind : kKinds) {
    for (const char* form : kind.forms) {
      if (form != nullptr) forms.push_back(form);
    }
  }
  std::string text;
  for (std::size_t i = 0; i < forms.size(); ++i) {
    if (i > 0) text += i + 1 == forms.size() ? " or " : ", ";
    text += forms[i];
  }
  return text;
}

std::string PortChoice::name() const {
  if (const Lpt* lpt = lptPort()) return "lpt" + std::to_string(lpt->index + 1);
  if (const gpio::GpioLinesChoice* lines = gpioLines()) return gpio::gpioLinesText(*lines);
  return "i2c-" + std::to_string(std::get<I2cDev>(kind_).number);
}

}  // namespace brelvion::port
