#include "trace/TransactionText.h"

#include <algorithm>
#include <cstdint>

#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "i2c/OutcomeText.h"

namespace brelvion::trace {

namespace {

constexpr std::size_t kTimeColumns = 10;

// Milliseconds to the microsecond, right-aligned: "    12.345 ms".
void appendTime(std::string& line, std::chrono::nanoseconds time) {
  const std::int64_t us = std::max<std::int64_t>(time.count(), 0) / 1000;
  std::string fraction = std::to_string(us % 1000);
  std::string text = std::to_string(us / 1000) + '.' + std::string(3 - fraction.size(), '0') +
                     fraction;
  if (text.size() < kTimeColumns) line.append(kTimeColumns - text.size(), ' ');
  line += text;
  line += " ms";
}

// The register as the command that sent entry addressed it, else as the view reads it.
std::size_t registerBytes(const bus::Transaction& entry, const TransactionView& view) {
  if (entry.command.format) return static_cast<std::size_t>(entry.command.format->addressBytes);
  return static_cast<std::size_t>(view.addressBytes);
}

void appendBytes(std::string& line, const std::vector<std::uint8_t>& bytes, std::size_t from,
                 std::size_t count) {
  for (std::size_t i = from; i < from + count; ++i) {
    if (i > from) line += ' ';
    numconv::appendUpperHex(line, bytes[i], 2);
  }
}

// "reg 0103  ": the first regBytes bytes as one number, most significant first.
void appendRegister(std::string& line, const std::vector<std::uint8_t>& bytes,
                    std::size_t regBytes) {
  line += "reg ";
  for (std::size_t i = 0; i < regBytes; ++i) numconv::appendUpperHex(line, bytes[i], 2);
  line += "  ";
}

// The write that set the register a read reads: just before it, to the same device, the
// register alone.
bool isPointerFor(const bus::Transaction& read, const bus::Transaction* before,
                  std::size_t regBytes) {
  return before != nullptr && !before->read &&
         i2c::DeviceAddress::fromByte(before->address).readByte() == read.address &&
         regBytes > 0 && before->bytes.size() == regBytes;
}

}  // namespace

std::string transactionOutcomeText(const bus::Transaction& entry) {
  return i2c::outcomeText(entry.outcome, entry.nackedByte);
}

std::string transactionLine(const bus::Transaction& entry, const TransactionView& view,
                            const bus::Transaction* before) {
  std::string line;
  appendTime(line, entry.time);
  line += "  ";
  // One form for a device's writes and reads, R or W beside it: its write address, or
  // its 7-bit one.
  numconv::appendUpperHex(
      line, i2c::DeviceAddress::fromByte(entry.address).in(i2c::addressForm(view.sevenBit)), 2);
  line += entry.read ? " R  " : " W  ";

  const std::size_t regBytes = registerBytes(entry, view);
  std::size_t from = 0;
  if (!entry.read && regBytes > 0 && entry.bytes.size() >= regBytes) {
    appendRegister(line, entry.bytes, regBytes);
    from = regBytes;
  } else if (entry.read && isPointerFor(entry, before, regBytes)) {
    appendRegister(line, before->bytes, regBytes);
  }
  const std::size_t rest = entry.bytes.size() - from;
  if (rest > 0) {
    appendBytes(line, entry.bytes, from, std::min(rest, kTransactionBytesShown));
    if (rest > kTransactionBytesShown) line += " .. (" + std::to_string(rest) + " bytes)";
    line += "  ";
  }
  line += transactionOutcomeText(entry);
  return line;
}

std::string transactionLines(const std::deque<bus::Transaction>& entries,
                             const TransactionView& view) {
  std::string text;
  const bus::Transaction* before = nullptr;
  for (const bus::Transaction& entry : entries) {
    text += transactionLine(entry, view, before);
    text += '\n';
    before = &entry;
  }
  return text;
}

}  // namespace brelvion::trace
