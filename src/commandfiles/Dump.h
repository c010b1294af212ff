#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "bus/BusMaster.h"
#include "commandfiles/CommandFileErrors.h"
#include "desktop/Desktop.h"
#include "i2c/I2cTransfer.h"

namespace brelvion::commandfiles {

// The Line Count field's text as the dump's count: a decimal 16-bit signed number, blanks
// around it allowed. Throws RuntimeError 13 for a text that is not a number, 6 for one
// outside -32768 to 32767.
std::int16_t parseDumpCount(const std::string& text);

// The dump file's lines: "<device>  <register>  <value>" in upper-case hex without leading
// zeros, each ended by CR LF, for registers 0 up to bytes.size() - 1.
std::string dumpText(std::int16_t device, const std::vector<std::int16_t>& bytes);

struct DumpHooks {
  // Just before the bus is touched, for a busy cursor; the dump does not yield.
  std::function<void()> running;
  // Write the file only when the device acknowledged the whole read, so that a refused dump
  // leaves an earlier one as it was. The window writes whatever came back.
  bool onlyAcknowledged = false;
};

struct DumpOutcome {
  bool written = false;
  // Both the pointer write's and the read's acknowledge waits succeeded.
  bool acknowledged = false;
  std::optional<Failure> failure;
};

// The dump itself, past the questions: registers 0 to count of device on master (read
// from 0: the pointer write, pointerThen, then the sequential read; device gets bit 0 set
// as the read sent it) into the file fileText names once trimmed, written through
// writeUserFile, so a file of that name is replaced only by a complete dump. On an adapter
// the file holds the registers it returned: none when it refused the read (unless
// hooks.onlyAcknowledged keeps the file as it was). A negative count or a blank name fails
// before the bus is touched. Errors show the "Dump To File - Error" box and come back in
// the outcome.
DumpOutcome dumpRegisters(bus::BusMaster& master, i2c::AfterMessage pointerThen,
                          desktop::Desktop& desktop, std::int16_t& device, std::int16_t count,
                          const std::string& fileText, const DumpHooks& hooks = {});

enum class DumpEnd { Written, Failed, NoFileName, FocusDeviceAddress, FocusLineCount };

// Dump to File from its questions on, once the window has parsed the count
// (parseDumpCount) and refreshed device, its DeviceAddress, from the field: asks "Device
// address is 0?" and "Count is 0?" when they apply (No: the window puts the focus where
// FocusDeviceAddress or FocusLineCount says), shows "Fill up the file name to dump,
// please" for an empty field (NoFileName), then runs dumpRegisters.
DumpEnd dumpToFile(bus::BusMaster& master, i2c::AfterMessage pointerThen,
                   desktop::Desktop& desktop, std::int16_t& device, std::int16_t count,
                   const std::string& fileText, const DumpHooks& hooks = {});

// The box for an error the window traps itself, such as parseDumpCount's.
void reportDumpError(desktop::Desktop& desktop, const base::RuntimeError& error);

}  // namespace brelvion::commandfiles
