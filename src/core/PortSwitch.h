#pragma once

#include <functional>
#include <memory>

#include "core/ToolCore.h"
#include "port/BusAdapter.h"
#include "port/PortChoice.h"
#include "port/gpio/GpioLines.h"
#include "port/i2cdev/I2cDevSystemCalls.h"

namespace brelvion::core {

// Makes the adapter for a port choice of a kind the engine does not bit-bang.
using AdapterFactory =
    std::function<std::unique_ptr<port::BusAdapter>(const port::PortChoice& choice)>;

// The running system's adapters: i2c-dev adapters through calls, which must outlive them.
AdapterFactory systemAdapters(
    port::i2cdev::I2cDevSystemCalls& calls = port::i2cdev::I2cDevSystemCalls::real());

// The lines of their own a program has for a port choice (its GPIO lines), which outlive
// their use; nullptr where it has none for that choice.
using LinesLookup = std::function<port::BitLines*(const port::PortChoice& choice)>;

// The lookup of a program's one pair of GPIO lines: those lines for their own choice.
LinesLookup gpioLinesFor(port::gpio::GpioLines& lines);

// Puts every later bus command on choice: a parallel port becomes portIndex, on its cable;
// an adapter comes from factory, GPIO lines from lines. A GPIO choice lines has nothing for
// is RuntimeError 53, and nothing changes. Opens nothing.
void selectPort(ToolCore& core, const port::PortChoice& choice, const AdapterFactory& factory,
                const LinesLookup& lines = {});

// The port list's command for any port: closes the bus where it is open, selects choice
// and starts the bus there (ToolCore::startBus). For a parallel port the same steps, port
// accesses and trace as choosing it always made.
void switchPort(ToolCore& core, const port::PortChoice& choice, const AdapterFactory& factory,
                const LinesLookup& lines = {});

}  // namespace brelvion::core
