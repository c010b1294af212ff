#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "port/gpio/GpioLinesText.h"

namespace brelvion::port {

// A parallel port: 0 = LPT1 (0x378), 1 = LPT2 (0x278), 2 = LPT3 (0x3BC).
struct LptPort {
  std::int16_t index = 0;
  bool operator==(const LptPort&) const = default;
};

// A Linux i2c-dev adapter, /dev/i2c-<number>.
struct I2cDevPort {
  unsigned number = 0;
  bool operator==(const I2cDevPort&) const = default;
};

// Two lines of a GPIO chip for SCL and SDA, gpio:CHIP:SCL,SDA.
struct GpioPort {
  gpio::GpioLinesChoice lines;
  bool operator==(const GpioPort&) const = default;
};

// A port the user chose, of one of the kinds the tool reaches a bus through: a parallel
// port whose two lines the engine bit-bangs (lpt1 to lpt3), a Linux i2c-dev adapter that
// carries whole transfers (i2c-N, /dev/i2c-N), or two GPIO lines the engine bit-bangs
// (gpio:CHIP:SCL,SDA). A new kind is a struct added to Kind with its line in the syntax
// table of PortChoice.cpp and a case in name().
class PortChoice {
 public:
  using Lpt = LptPort;
  using I2cDev = I2cDevPort;
  using Gpio = GpioPort;
  using Kind = std::variant<Lpt, I2cDev, Gpio>;

  // Adapter numbers the kernel can give (its i2c-dev minors).
  static constexpr unsigned kMaxAdapterNumber = (1u << 20) - 1;

  PortChoice() = default;
  static PortChoice lpt(std::int16_t index) { return PortChoice(Lpt{index}); }
  static PortChoice i2cDev(unsigned number) { return PortChoice(I2cDev{number}); }
  static PortChoice gpio(gpio::GpioLinesChoice lines) { return PortChoice(Gpio{std::move(lines)}); }

  // "lpt1" to "lpt3", "i2c-N" or "/dev/i2c-N" (N decimal, without leading zeros), or
  // "gpio:CHIP:SCL,SDA" as parseGpioLines reads it; nothing for any other text.
  static std::optional<PortChoice> parse(std::string_view text);
  // Why parse refused text that has a kind's prefix but not the rest of its form ("gpio:"
  // with one line, say), for a message that says more than the list of forms; nothing for
  // text of no kind. Never repeats text.
  static std::optional<std::string> problemWith(std::string_view text);
  // The forms parse takes, for messages: "lpt1, lpt2, lpt3, i2c-N, /dev/i2c-N or
  // gpio:CHIP:SCL,SDA".
  static std::string acceptedForms();

  const Kind& kind() const { return kind_; }
  const Lpt* lptPort() const { return std::get_if<Lpt>(&kind_); }
  const I2cDev* i2cDevAdapter() const { return std::get_if<I2cDev>(&kind_); }
  const gpio::GpioLinesChoice* gpioLines() const {
    const Gpio* port = std::get_if<Gpio>(&kind_);
    return port != nullptr ? &port->lines : nullptr;
  }
  // Lines the engine drives step by step, rather than an adapter that takes transfers.
  bool bitBanged() const { return i2cDevAdapter() == nullptr; }

  // "lpt1", "i2c-3", "gpio:gpiochip0:3,2": the short form, which parse reads back as the
  // same choice.
  std::string name() const;

  bool operator==(const PortChoice&) const = default;

 private:
  explicit PortChoice(Kind kind) : kind_(std::move(kind)) {}
  Kind kind_;
};

}  // namespace brelvion::port
