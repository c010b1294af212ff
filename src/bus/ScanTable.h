#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bus/BusScan.h"
#include "i2c/DeviceAddress.h"

namespace brelvion::bus {

// Which addresses a scan's table shows: the tool's 8-bit write addresses (42), or the
// 7-bit ones (21) for those who think in them.
using AddressLabels = i2c::AddressForm;

inline constexpr int kScanGridRows = 8;
inline constexpr int kScanGridColumns = 16;

// A scan's result in i2cdetect's layout: 8 rows of 16 cells, 7-bit address 16 * row +
// column in each. A cell is "--" for an address probed without answer, the address (two
// upper-case hex digits) for one that answered, blank for one not probed (every one when
// SDA was held low). With 8-bit
// labels, rows are 00, 20, ... E0 and columns 00, 02, ... 1E, and the cells show write
// addresses; with 7-bit labels, rows 00 to 70 and columns 0 to F, as i2cdetect has them.
struct ScanGrid {
  std::array<std::string, kScanGridColumns> columnLabels;
  std::array<std::string, kScanGridRows> rowLabels;
  std::array<std::array<std::string, kScanGridColumns>, kScanGridRows> cells;
};

ScanGrid scanGrid(const ScanOutcome& outcome, ScanRange range, AddressLabels labels);

// The grid as text, a line a row under a line of column labels, as i2cdetect prints it:
//        00 02 04 ...
//   00:                         -- -- ...
//   40: -- 42 -- ...
std::string scanGridText(const ScanGrid& grid);

// One answered address a line, two upper-case hex digits: 8-bit write addresses, or 7-bit.
std::string scanListText(const std::vector<std::uint8_t>& answered, AddressLabels labels);

// One line on what a scan found: "2 devices answered: 42, 60", "1 device answered: 42",
// "No device answered", or kSdaHeldLowText.
std::string scanSummaryText(const ScanOutcome& outcome, AddressLabels labels);

// The 8-bit write address of a grid cell, whatever the labels.
std::uint8_t addressOfCell(int row, int column);

// A write address as labels show it: "42", or "21" in 7 bits.
std::string addressLabel(std::uint8_t writeAddress, AddressLabels labels);

}  // namespace brelvion::bus
