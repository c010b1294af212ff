#include "bus/ScanTable.h"

#include <algorithm>

#include "numconv/HexText.h"

namespace brelvion::bus {

std::uint8_t addressOfCell(int row, int column) {
  return i2c::DeviceAddress::fromSevenBit(
             static_cast<std::uint8_t>(row * kScanGridColumns + column))
      .writeByte();
}

std::string addressLabel(std::uint8_t writeAddress, AddressLabels labels) {
  return i2c::DeviceAddress::fromByte(writeAddress).text(labels);
}

ScanGrid scanGrid(const ScanOutcome& outcome, ScanRange range, AddressLabels labels) {
  const std::vector<std::uint8_t>& answered = outcome.answered;
  const bool sevenBit = labels == AddressLabels::SevenBit;
  ScanGrid grid;
  for (int column = 0; column < kScanGridColumns; ++column) {
    grid.columnLabels[column] = sevenBit ? numconv::upperHex(static_cast<unsigned>(column))
                                         : numconv::upperHex(static_cast<unsigned>(column) * 2, 2);
  }
  for (int row = 0; row < kScanGridRows; ++row) {
    grid.rowLabels[row] = addressLabel(addressOfCell(row, 0), labels);
    for (int column = 0; column < kScanGridColumns; ++column) {
      const std::uint8_t address = addressOfCell(row, column);
      std::string& cell = grid.cells[row][column];
      if (outcome.sdaHeldLow ||
          !range.contains(i2c::DeviceAddress::fromByte(address).sevenBit())) {
        continue;
      }
      const bool found = std::find(answered.begin(), answered.end(), address) != answered.end();
      cell = found ? addressLabel(address, labels) : "--";
    }
  }
  return grid;
}

std::string scanGridText(const ScanGrid& grid) {
  std::string text = "   ";
  for (const std::string& label : grid.columnLabels) {
    text += label.size() < 2 ? "  " + label : " " + label;
  }
  text += '\n';
  for (int row = 0; row < kScanGridRows; ++row) {
    std::string line = grid.rowLabels[row] + ":";
    for (const std::string& cell : grid.cells[row]) line += cell.empty() ? "   " : " " + cell;
    line.erase(line.find_last_not_of(' ') + 1);
    text += line + '\n';
  }
  return text;
}

std::string scanListText(const std::vector<std::uint8_t>& answered, AddressLabels labels) {
  std::string text;
  for (std::uint8_t address : answered) text += addressLabel(address, labels) + '\n';
  return text;
}

std::string scanSummaryText(const ScanOutcome& outcome, AddressLabels labels) {
  if (outcome.sdaHeldLow) return std::string(kSdaHeldLowText);
  const std::size_t count = outcome.answered.size();
  if (count == 0) return "No device answered";
  std::string text = std::to_string(count) + (count == 1 ? " device answered: " : " devices answered: ");
  for (std::size_t i = 0; i < count; ++i) {
    if (i > 0) text += ", ";
    text += addressLabel(outcome.answered[i], labels);
  }
  return text;
}

}  // namespace brelvion::bus
