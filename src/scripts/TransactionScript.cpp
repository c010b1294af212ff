#include "scripts/TransactionScript.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "i2c/OutcomeText.h"
#include "scripts/MessageConverter.h"
#include "scripts/ScriptReader.h"

namespace brelvion::scripts {

namespace {

const std::string kEntryName = "transaction";

// What a command made from a message not acknowledged when recorded says of it.
// The record holds no message that was never sent.
std::string unacknowledgedNote(const bus::Transaction& entry) {
  if (entry.outcome == i2c::MessageOutcome::Acknowledged) return {};
  return i2c::outcomeText(entry.outcome, entry.nackedByte) + " when recorded";
}

// The commands the converter made, with the transactions of its reads in order.
struct Converted {
  Script script;
  std::vector<const bus::Transaction*> reads;
  Problems problems;
};

// How a transaction's bytes make commands: in the format of the command that sent it, else
// with the view's register width and the value widths the lengths suggest.
ImportOptions optionsFor(const bus::Transaction& entry, int addressBytes) {
  ImportOptions options;
  const std::optional<i2c::RegisterFormat>& format = entry.command.format;
  if (!format) {
    options.addressBytes = addressBytes;
    return options;
  }
  if (format->addressBytes > 0) options.addressBytes = format->addressBytes;
  options.valueBytes = format->valueBytes;
  return options;
}

Converted convert(const std::deque<bus::Transaction>& entries, int addressBytes) {
  Converted converted;
  ScriptBuilder builder;
  // One converter a run of transactions in one format: a register write held back for a
  // read is settled in its own format before the next run begins.
  ImportOptions importOptions;
  std::optional<MessageConverter> converter;
  std::size_t line = 0;
  for (const bus::Transaction& entry : entries) {
    ImportOptions options = optionsFor(entry, addressBytes);
    if (!converter || options.addressBytes != importOptions.addressBytes ||
        options.valueBytes != importOptions.valueBytes) {
      if (converter) converter->finish();
      converter.reset();
      importOptions = std::move(options);
      converter.emplace(kEntryName, importOptions, builder, converted.problems);
    }
    BusMessage message;
    message.address = i2c::DeviceAddress::fromByte(entry.address).writeByte();
    message.read = entry.read;
    message.bytes = entry.bytes;
    message.readLength = entry.read ? entry.bytes.size() : 0;
    message.line = ++line;
    message.note = unacknowledgedNote(entry);
    const std::size_t problemsBefore = converted.problems.size();
    converter->message(std::move(message));
    // A read that made no problem became the newest command.
    if (entry.read && converted.problems.size() == problemsBefore) {
      converted.reads.push_back(&entry);
    }
  }
  if (converter) converter->finish();
  converted.script = builder.take();
  return converted;
}

// A read's registers as expect lines, or why it has none.
void addExpects(ScriptBuilder& builder, const Target& target, const Statement& read,
                const bus::Transaction& entry) {
  if (entry.outcome != i2c::MessageOutcome::Acknowledged) {
    builder.comment("read of " + numconv::upperHex(read.reg, 2 * target.format.addressBytes) +
                    " not acknowledged when recorded: no expect");
    return;
  }
  // Only the values the command showed: a byte read but never shown may have changed since
  // without anyone knowing.
  const std::size_t shown = entry.command.bytesShown.value_or(entry.bytes.size());
  const auto count = std::min<std::uint32_t>(
      read.number, static_cast<std::uint32_t>(
                       shown / static_cast<std::size_t>(std::max(1, target.format.valueBytes))));
  for (Statement& expect : expectsOf(target, read.reg, count, entry.bytes)) {
    builder.command(target, std::move(expect));
  }
}

}  // namespace

Script scriptOfTransactions(const std::deque<bus::Transaction>& entries,
                            const TransactionScriptOptions& options) {
  const Converted converted = convert(entries, options.addressBytes);
  ScriptBuilder builder;
  builder.comment(kTransactionScriptHeader);
  if (options.dropped > 0) builder.comment(droppedNote(options.dropped, entries.size()));
  for (const Problem& problem : converted.problems) {
    builder.comment(kEntryName + " " + std::to_string(problem.line) + " left out: " +
                    problem.message);
  }
  Target target;
  std::size_t read = 0;
  for (const Statement& statement : converted.script.statements) {
    switch (statement.op) {
      case Op::Device:
      case Op::RegBits:
      case Op::ValBits:
        applySetting(statement, target);
        break;
      case Op::Write:
        builder.command(target, statement);
        break;
      case Op::Read:
        if (options.readsAsExpect) addExpects(builder, target, statement, *converted.reads[read]);
        ++read;
        break;
      default:
        break;
    }
  }
  return builder.take();
}

std::string droppedNote(std::size_t dropped, std::size_t kept) {
  return "The record kept the newest " + std::to_string(kept) +
         " transactions: " + std::to_string(dropped) +
         " older ones were dropped and are not in the script.";
}

bool holdsCommand(const Script& script) {
  for (const Statement& statement : script.statements) {
    if (isBusCommand(statement.op)) return true;
  }
  return false;
}

std::string withScriptExtension(const std::string& path) {
  const std::size_t nameStart = path.find_last_of('/') + 1;
  const std::size_t dot = path.find('.', nameStart);
  // A leading dot names a hidden file, not an extension.
  if (dot != std::string::npos && dot > nameStart) return path;
  return path + std::string(kScriptExtension);
}

}  // namespace brelvion::scripts
