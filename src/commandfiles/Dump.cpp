#include "commandfiles/Dump.h"

#include <charconv>
#include <limits>

#include "base/Text.h"
#include "base/UserFile.h"
#include "core/RegisterCommands.h"
#include "numconv/HexText.h"

namespace brelvion::commandfiles {

using base::RuntimeError;

namespace {

constexpr const char* kDumpSource = "Dump To File";
// "FFFF  7FFF  FF\r\n"
constexpr std::size_t kLongestLine = 16;

}  // namespace

std::int16_t parseDumpCount(const std::string& text) {
  const std::string trimmed = base::trimmed(text);
  const char* begin = trimmed.data();
  const char* end = begin + trimmed.size();
  if (begin != end && *begin == '+') ++begin;
  long long value = 0;
  const auto [ptr, ec] = std::from_chars(begin, end, value);
  if (begin == end || ptr != end || (ec != std::errc() && ec != std::errc::result_out_of_range)) {
    throw RuntimeError(RuntimeError::kTypeMismatch, kDumpSource);
  }
  if (ec == std::errc::result_out_of_range || value < std::numeric_limits<std::int16_t>::min() ||
      value > std::numeric_limits<std::int16_t>::max()) {
    throw RuntimeError(RuntimeError::kOverflow, kDumpSource);
  }
  return static_cast<std::int16_t>(value);
}

std::string dumpText(std::int16_t device, const std::vector<std::int16_t>& bytes) {
  std::string text;
  text.reserve(bytes.size() * kLongestLine);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    numconv::appendUpperHex(text, static_cast<std::uint16_t>(device));
    text.append("  ");
    numconv::appendUpperHex(text, static_cast<unsigned>(i));
    text.append("  ");
    numconv::appendUpperHex(text, static_cast<std::uint16_t>(bytes[i]));
    text.append("\r\n");
  }
  return text;
}

DumpOutcome dumpRegisters(bus::BusMaster& master, i2c::AfterMessage pointerThen,
                          desktop::Desktop& desktop, std::int16_t& device, std::int16_t count,
                          const std::string& fileText, const DumpHooks& hooks) {
  DumpOutcome outcome;
  try {
    const std::string name = base::trimmed(fileText);
    if (name.empty()) {
      throw RuntimeError(RuntimeError::kPathFileAccess, kDumpSource, "The file name is blank");
    }
    if (count < 0) throw RuntimeError(RuntimeError::kInvalidCall, kDumpSource);
    if (hooks.running) hooks.running();
    const bus::RegisterRead read =
        core::readByteRegisters(master, pointerThen, static_cast<std::uint8_t>(device), 0,
                                static_cast<std::size_t>(count) + 1);
    // The address as the read sent it, which the file shows too.
    device = static_cast<std::int16_t>(device | 1);
    outcome.acknowledged = read.acknowledged();
    if (hooks.onlyAcknowledged && !outcome.acknowledged) return outcome;
    const std::vector<std::int16_t> bytes(read.bytes.begin(), read.bytes.end());
    base::writeUserFile(name, dumpText(device, bytes), kDumpSource);
    outcome.written = true;
  } catch (const RuntimeError& error) {
    outcome.failure = reportFailure(desktop, Step::DumpToFile, error);
  }
  return outcome;
}

namespace {

bool answeredYes(desktop::Desktop& desktop, std::string_view question) {
  desktop::MessageBoxRequest box;
  box.text = question;
  box.buttons = desktop::MessageButtons::YesNo;
  return desktop.messageBox(box) == desktop::MessageAnswer::Yes;
}

}  // namespace

DumpEnd dumpToFile(bus::BusMaster& master, i2c::AfterMessage pointerThen,
                   desktop::Desktop& desktop, std::int16_t& device, std::int16_t count,
                   const std::string& fileText, const DumpHooks& hooks) {
  if (device == 0 && !answeredYes(desktop, kDeviceAddressZeroQuestion)) {
    return DumpEnd::FocusDeviceAddress;
  }
  if (count == 0 && !answeredYes(desktop, kCountZeroQuestion)) return DumpEnd::FocusLineCount;
  if (fileText.empty()) {
    desktop::MessageBoxRequest box;
    box.text = kDumpNoFileName;
    box.title = kDumpTitle;
    box.icon = desktop::MessageIcon::Information;
    desktop.messageBox(box);
    return DumpEnd::NoFileName;
  }
  const DumpOutcome outcome =
      dumpRegisters(master, pointerThen, desktop, device, count, fileText, hooks);
  return outcome.written ? DumpEnd::Written : DumpEnd::Failed;
}

void reportDumpError(desktop::Desktop& desktop, const RuntimeError& error) {
  reportFailure(desktop, Step::DumpToFile, error);
}

}  // namespace brelvion::commandfiles
