#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "port/PortChoice.h"
#include "port/gpio/GpioLinesText.h"
#include "port/i2cdev/I2cAdapterList.h"

namespace brelvion::windowlogic {

// The port list's items, at positions 0, 1 and 2: the port's name, then its base address
// for the user to see.
inline constexpr std::array<const char*, 3> kPortItems{"LPT1, H378", "LPT2, H278", "LPT3, H3BC"};

// The portIndex an item names: only its first four characters count, blanks around them
// removed, compared case-sensitively with "LPT1", "LPT2" and "LPT3". No value for any
// other text: the port stays as it was.
std::optional<std::int16_t> portIndexOfItem(const std::string& itemText);

// The row after the LPT rows for an i2c-dev adapter: "I2C-3, CP2112 SMBus Bridge on
// hidraw0", or "I2C-3" for an adapter without a name.
std::string adapterItemText(const port::i2cdev::I2cAdapterInfo& adapter);

// The row after the LPT rows for the GPIO lines given with --port: "GPIO, gpiochip0:3,2".
std::string gpioItemText(const port::gpio::GpioLinesChoice& lines);

// The port a row of the list stands for: the three LPT rows by their text (portIndexOfItem),
// the row of gpioLines when there are some, then one row per adapter in the order of
// adapters. No value where the list keeps the port.
std::optional<port::PortChoice> portChoiceOfRow(
    int row, const std::string& itemText, const std::vector<port::i2cdev::I2cAdapterInfo>& adapters,
    const port::gpio::GpioLinesChoice* gpioLines = nullptr);

// The row of the bus in use when the adapter named adapterName ("i2c-3"), or the GPIO
// lines, carry it: the row portChoiceOfRow reads as that port (gpioRow: the list has the
// GPIO row). No value on the parallel port, whose rows start with none selected, and for
// an adapter the list does not hold.
std::optional<int> rowOfBusInUse(const std::string* adapterName, bool onGpioLines,
                                 const std::vector<port::i2cdev::I2cAdapterInfo>& adapters,
                                 bool gpioRow);

// What the status line says while an adapter carries the bus: "I2C adapter i2c-3, CP2112
// SMBus Bridge on hidraw0 (i2c-dev)".
std::string adapterBusNotice(const std::string& adapterDescription);

// What the status line says while GPIO lines carry the bus: "GPIO lines of gpiochip0: SCL 3,
// SDA 2".
std::string gpioBusNotice(const port::gpio::GpioLinesChoice& lines);

}  // namespace brelvion::windowlogic
