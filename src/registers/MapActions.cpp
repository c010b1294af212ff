#include "registers/MapActions.h"

#include "base/RuntimeError.h"
#include "bus/RegisterAccess.h"
#include "registers/MapWindowLogic.h"

namespace brelvion::registers {

namespace {

std::string plural(std::size_t count, const char* one, const char* several) {
  return std::to_string(count) + " " + (count == 1 ? one : several);
}

}  // namespace

ReadOutcome readRuns(i2c::I2cMaster& master, std::uint8_t device, RegisterTable& table,
                     const std::vector<ReadRun>& runs, const StopCheck& stop) {
  ReadOutcome outcome;
  const i2c::RegisterFormat bytes = table.map().formatFor(1);
  for (const ReadRun& run : runs) {
    if (stop && stop()) {
      outcome.stopped = true;
      break;
    }
    const bus::RegisterRead read = bus::readRegisters(master, device, bytes, run.start, run.byteCount);
    table.applyRead(run, read.bytes, read.acknowledged());
    ++outcome.reads;
    outcome.registers += run.count;
    if (!read.acknowledged()) ++outcome.notAcknowledged;
  }
  return outcome;
}

std::string readText(const ReadOutcome& outcome) {
  std::string text = "Read " + plural(outcome.registers, "register", "registers") + " in " +
                     plural(outcome.reads, "read", "reads");
  if (outcome.notAcknowledged > 0) {
    text += "; " + std::to_string(outcome.notAcknowledged) + " not acknowledged";
  }
  if (outcome.stopped) text += "; stopped at the error";
  return text;
}

WriteOutcome writeAndCheck(i2c::I2cMaster& master, std::uint8_t device, RegisterTable& table,
                           std::size_t index, std::uint32_t value) {
  const RegisterMap& map = table.map();
  const Register& reg = map.registers.at(index);
  if (!reg.writable()) {
    throw base::RuntimeError(base::RuntimeError::kInvalidCall, "Register Map",
                             registerTitle(map, reg) + " is read-only: it is never written");
  }
  const i2c::RegisterFormat format = map.formatFor(reg.valueBytes);
  // Built before anything goes out, so a value too wide touches nothing.
  const auto messages = bus::registerWriteMessages(device, format, reg.address, value);
  WriteOutcome outcome;
  outcome.acknowledged = bus::transferInFormat(master, format, messages).acknowledged();
  if (reg.readable()) {
    const bus::RegisterRead read = bus::readRegisters(master, device, format, reg.address, 1);
    if (read.acknowledged() && !read.values.empty()) outcome.readBack = read.values[0];
  }
  table.applyWrite(index, value, outcome.readBack);
  return outcome;
}

std::string writeText(const RegisterMap& map, std::size_t index, std::uint32_t value,
                      const WriteOutcome& outcome) {
  const Register& reg = map.registers.at(index);
  const std::string wanted = valueHex(value, reg.valueBytes);
  const std::string head = registerTitle(map, reg) + " = " + wanted;
  if (!outcome.acknowledged) return head + ": the write was not acknowledged";
  if (!reg.readable()) return head + ": written (write-only, so not read back)";
  if (!outcome.readBack) return head + ": written, but the read back was not acknowledged";
  if (*outcome.readBack != value) {
    return head + ": written, but it reads " + valueHex(*outcome.readBack, reg.valueBytes) +
           ": the write did not stick";
  }
  return head + ": written and read back";
}

ChipIdOutcome checkChipId(i2c::I2cMaster& master, std::uint8_t device, const RegisterMap& map) {
  const ChipIdCheck& check = map.chipId.value();
  const bus::RegisterRead read =
      bus::readRegisters(master, device, map.formatFor(check.valueBytes), check.address, 1);
  ChipIdOutcome outcome;
  outcome.answered = read.acknowledged() && !read.values.empty();
  if (outcome.answered) {
    outcome.value = read.values[0];
    outcome.matches = outcome.value == check.expected;
  }
  return outcome;
}

std::string chipIdText(const RegisterMap& map, std::uint8_t device, const ChipIdOutcome& outcome) {
  const ChipIdCheck& check = map.chipId.value();
  if (!outcome.answered) {
    return "Chip ID: no device acknowledged at " + valueHex(device, 1) +
           ", so it cannot be told whether it is the " + map.deviceName;
  }
  const std::string read = "Chip ID " + addressHex(check.address, map.format.addressBytes) +
                           " reads " + valueHex(outcome.value, check.valueBytes);
  if (outcome.matches) return read + ": this is the " + map.deviceName;
  return read + ", not " + valueHex(check.expected, check.valueBytes) + ": this is not the " +
         map.deviceName;
}

WriteBackPlan planWriteBack(const RegisterMap& map, const Snapshot& snapshot) {
  WriteBackPlan plan;
  for (const RegisterValue& value : snapshot.values) {
    const auto index = map.indexOfAddress(value.address);
    const bool fits = index && map.registers[*index].valueBytes == value.valueBytes &&
                      map.registers[*index].writable();
    if (fits) {
      plan.writes.push_back({*index, value.value});
    } else {
      plan.skipped.push_back(value);
    }
  }
  return plan;
}

WriteBackOutcome writeBack(i2c::I2cMaster& master, std::uint8_t device, RegisterTable& table,
                           const WriteBackPlan& plan, const StopCheck& stop) {
  WriteBackOutcome outcome;
  outcome.skipped = plan.skipped.size();
  const RegisterMap& map = table.map();
  for (const PlannedWrite& write : plan.writes) {
    if (stop && stop()) {
      outcome.stopped = true;
      break;
    }
    const Register& reg = map.registers.at(write.index);
    const bool acknowledged =
        bus::writeRegister(master, device, map.formatFor(reg.valueBytes), reg.address, write.value)
            .acknowledged();
    ++outcome.written;
    if (!acknowledged) ++outcome.notAcknowledged;
  }
  return outcome;
}

std::string writeBackText(const WriteBackOutcome& outcome) {
  std::string text = "Wrote " + plural(outcome.written, "register", "registers") + " back";
  if (outcome.notAcknowledged > 0) {
    text += "; " + std::to_string(outcome.notAcknowledged) + " not acknowledged";
  }
  if (outcome.skipped > 0) {
    text += "; " + plural(outcome.skipped, "value", "values") +
            " left out (read-only, or no such register here)";
  }
  if (outcome.stopped) text += "; stopped at the error";
  return text;
}

RestoreOutcome restoreSnapshot(i2c::I2cMaster& master, std::uint8_t device, RegisterTable& table,
                               const WriteBackPlan& plan, const std::vector<ReadRun>& runs,
                               const StopCheck& stop) {
  RestoreOutcome outcome;
  outcome.written = writeBack(master, device, table, plan, stop);
  outcome.read = readRuns(master, device, table, runs, stop);
  return outcome;
}

std::string restoreText(const RestoreOutcome& outcome) {
  return writeBackText(outcome.written) + (outcome.written.stopped ? "" : ", then read all again");
}

}  // namespace brelvion::registers
