#include "scripts/MessageConverter.h"

#include "numconv/HexText.h"

namespace brelvion::scripts {

namespace {

bool isValueLength(std::size_t bytes) { return bytes == 1 || bytes == 2 || bytes == 4; }

std::string hex(std::uint32_t value) { return numconv::upperHex(value, 2); }

std::string bytesText(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " byte" : " bytes");
}

std::string joined(const std::string& a, const std::string& b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return a + "; " + b;
}

}  // namespace

std::uint32_t bigEndian(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t count) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < count; ++i) value = (value << 8) | bytes[from + i];
  return value;
}

void MessageConverter::message(BusMessage message) {
  if (message.read) {
    if (pointer_ && pointer_->address == message.address) {
      const BusMessage pointer = std::move(*pointer_);
      pointer_.reset();
      // What came between pointer and read goes before the read, which is one command.
      releaseHeld();
      read(pointer, message);
      return;
    }
    flushPointer();
    problem(message.line, "a read of " + bytesText(message.readLength) + " from " +
                              hex(message.address) +
                              " without a register written before it cannot be a script command");
    return;
  }
  flushPointer();
  const std::size_t length = message.bytes.size();
  const bool canBePointer = options_.addressBytes
                                ? length == static_cast<std::size_t>(*options_.addressBytes)
                                : (length == 1 || length == 2);
  if (canBePointer) {
    pointer_ = std::move(message);
  } else {
    write(message);
  }
}

void MessageConverter::delay(std::uint32_t ms, std::string comment) {
  Statement statement = Statement::delay(ms);
  statement.comment = std::move(comment);
  hold(std::move(statement));
}

void MessageConverter::comment(std::string text) { hold(Statement::note(std::move(text))); }

// A delay or comment after a register write that may yet be a read's waits for the next
// message to say which.
void MessageConverter::hold(Statement statement) {
  held_.push_back(std::move(statement));
  if (!pointer_) releaseHeld();
}

void MessageConverter::releaseHeld() {
  for (Statement& statement : held_) {
    if (statement.op == Op::Delay) {
      builder_.delay(statement.number, std::move(statement.comment));
    } else {
      builder_.comment(std::move(statement.comment));
    }
  }
  held_.clear();
}

void MessageConverter::flushPointer() {
  if (pointer_) {
    const BusMessage pointer = std::move(*pointer_);
    pointer_.reset();
    write(pointer);
  }
  releaseHeld();
}

void MessageConverter::write(const BusMessage& message) {
  const std::size_t length = message.bytes.size();
  if (length == 0) {
    problem(message.line, "the address " + hex(message.address) +
                              " alone, with no register, cannot be a script command");
    return;
  }
  const std::optional<Widths> widths = writeWidths(message.address, length);
  if (!widths) {
    if (length == 1) {
      problem(message.line, "a write of one byte to " + hex(message.address) +
                                " (a register with no value and no read after it) cannot be a "
                                "script command");
    } else {
      problem(message.line,
              "a write of " + bytesText(length) + " to " + hex(message.address) +
                  " is not one register and one value" +
                  (options_.addressBytes || options_.valueBytes ? " of the widths given" : ""));
    }
    return;
  }
  Statement statement = Statement::write(bigEndian(message.bytes, 0, widths->regBytes),
                                         bigEndian(message.bytes, widths->regBytes, widths->valBytes));
  statement.comment = message.note;
  widths_[message.address] = *widths;
  builder_.command(Target{message.address,
                          {static_cast<int>(widths->regBytes), static_cast<int>(widths->valBytes)}},
                   std::move(statement));
}

void MessageConverter::read(const BusMessage& pointer, const BusMessage& message) {
  const std::size_t length = message.readLength;
  const std::optional<unsigned> valBytes = readValueBytes(pointer.address, length);
  if (length == 0 || !valBytes) {
    problem(message.line, "a read of " + bytesText(length) + " from " + hex(message.address) +
                              " is not a whole number of values" +
                              (options_.valueBytes ? " of the width given" : ""));
    return;
  }
  const std::size_t count = length / *valBytes;
  if (count > kMostRegistersRead) {
    problem(message.line, "a read of " + std::to_string(count) + " registers is more than " +
                              std::to_string(kMostRegistersRead));
    return;
  }
  const auto regBytes = static_cast<unsigned>(pointer.bytes.size());
  const std::uint32_t reg = bigEndian(pointer.bytes, 0, regBytes);
  Statement statement = Statement::read(reg, static_cast<std::uint32_t>(count));
  statement.comment = joined(pointer.note, message.note);
  widths_[pointer.address] = Widths{regBytes, *valBytes};
  const Target target{pointer.address, {static_cast<int>(regBytes), static_cast<int>(*valBytes)}};
  if (options_.readsAsExpect && message.bytes.size() == length) {
    std::vector<Statement> expects =
        expectsOf(target, reg, static_cast<std::uint32_t>(count), message.bytes);
    expects.front().comment = std::move(statement.comment);
    for (Statement& expect : expects) builder_.command(target, std::move(expect));
    return;
  }
  builder_.command(target, std::move(statement));
}

std::vector<Statement> expectsOf(const Target& target, std::uint32_t reg, std::uint32_t count,
                                 const std::vector<std::uint8_t>& bytes) {
  std::vector<Statement> expects;
  const auto valBytes = static_cast<unsigned>(target.format.valueBytes);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint32_t at = (reg + i * valBytes) & i2c::maxValue(target.format.addressBytes);
    expects.push_back(Statement::expect(at, bigEndian(bytes, i * valBytes, valBytes)));
  }
  return expects;
}

std::optional<MessageConverter::Widths> MessageConverter::writeWidths(std::uint8_t device,
                                                                     std::size_t length) const {
  const auto n = static_cast<unsigned>(length);
  if (options_.addressBytes || options_.valueBytes) {
    const auto regBytes = static_cast<unsigned>(options_.addressBytes.value_or(0));
    const auto valBytes = static_cast<unsigned>(options_.valueBytes.value_or(0));
    if (regBytes != 0 && valBytes != 0) {
      if (regBytes + valBytes == n) return Widths{regBytes, valBytes};
    } else if (regBytes != 0) {
      if (n > regBytes && isValueLength(n - regBytes)) return Widths{regBytes, n - regBytes};
    } else if (n > valBytes && (n - valBytes == 1 || n - valBytes == 2)) {
      return Widths{n - valBytes, valBytes};
    }
    return std::nullopt;
  }
  const auto known = widths_.find(device);
  if (known != widths_.end() && known->second.regBytes + known->second.valBytes == n) {
    return known->second;
  }
  return commonWidths(n);
}

std::optional<MessageConverter::Widths> MessageConverter::commonWidths(unsigned length) {
  switch (length) {
    case 2:
      return Widths{1, 1};
    case 3:
      return Widths{2, 1};
    case 4:
      return Widths{2, 2};
    case 5:
      return Widths{1, 4};
    case 6:
      return Widths{2, 4};
    default:
      return std::nullopt;
  }
}

std::optional<unsigned> MessageConverter::readValueBytes(std::uint8_t device,
                                                         std::size_t length) const {
  if (options_.valueBytes) {
    const auto valBytes = static_cast<unsigned>(*options_.valueBytes);
    return length % valBytes == 0 ? std::optional<unsigned>(valBytes) : std::nullopt;
  }
  const auto known = widths_.find(device);
  if (known != widths_.end() && length % known->second.valBytes == 0) return known->second.valBytes;
  return 1u;
}

void MessageConverter::problem(std::size_t line, std::string message) {
  problems_.push_back(Problem{fileName_, line, std::move(message)});
}

}  // namespace brelvion::scripts
