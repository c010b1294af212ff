// i2c-tools command lines: "i2ctransfer -y 1 w3@0x10 0x01 0x00 0x01", each line one
// transfer of messages joined by repeated STARTs, 7-bit addresses in hex; "sleep SECONDS"
// and "usleep MICROSECONDS" between them; '#' comments. All on one bus.
#include <cstdio>

#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "scripts/Converters.h"
#include "scripts/MessageConverter.h"
#include "scripts/TextLines.h"

namespace brelvion::scripts {

namespace {

// Seconds as sleep takes them ("0.01", "1", "0.5s", "2m") to whole milliseconds, rounded up.
std::optional<std::uint64_t> sleepMs(std::string_view text) {
  std::uint64_t scale = 1;
  if (!text.empty() && (text.back() == 's' || text.back() == 'm')) {
    scale = text.back() == 'm' ? 60 : 1;
    text.remove_suffix(1);
  }
  const std::size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction =
      dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
  if (whole.empty() && fraction.empty()) return std::nullopt;
  const auto seconds = whole.empty() ? std::optional<std::uint64_t>(0) : parseDecimal(whole);
  if (!seconds || (!fraction.empty() && !parseDecimal(fraction)) || *seconds > 1'000'000) {
    return std::nullopt;
  }
  // Thousandths of the fraction, and whether anything smaller is left over.
  std::uint64_t thousandths = 0;
  bool rest = false;
  for (std::size_t i = 0; i < fraction.size(); ++i) {
    if (i < 3) {
      thousandths = thousandths * 10 + static_cast<std::uint64_t>(fraction[i] - '0');
    } else if (fraction[i] != '0') {
      rest = true;
    }
  }
  for (std::size_t i = fraction.size(); i < 3; ++i) thousandths *= 10;
  return (*seconds * 1000 + thousandths + (rest ? 1 : 0)) * scale;
}

std::string_view baseName(std::string_view word) {
  const std::size_t slash = word.find_last_of('/');
  return slash == std::string_view::npos ? word : word.substr(slash + 1);
}

class I2cTransferReader {
 public:
  I2cTransferReader(MessageConverter& converter, const std::string& fileName, Problems& problems)
      : converter_(converter), fileName_(fileName), problems_(problems) {}

  void line(std::string_view text, std::size_t number) {
    number_ = number;
    // A '#' at the start of a word starts the shell's comment.
    std::string comment;
    std::size_t hash = text.find('#');
    while (hash != std::string_view::npos && hash > 0 && text[hash - 1] != ' ' && text[hash - 1] != '\t') {
      hash = text.find('#', hash + 1);
    }
    if (hash != std::string_view::npos) {
      comment = std::string(trimBlanks(text.substr(hash + 1)));
      text = text.substr(0, hash);
    }
    const std::vector<std::string_view> words = splitWords(text);
    if (words.empty()) {
      // A script's first line names its shell; it is no comment of the script.
      if (hash != std::string_view::npos && !(number == 1 && comment.rfind('!', 0) == 0)) {
        converter_.comment(comment);
      }
      return;
    }
    std::size_t i = words[0] == "sudo" ? 1 : 0;
    if (i >= words.size()) return problem("sudo without a command");
    const std::string_view command = baseName(words[i]);
    if (command == "sleep" || command == "usleep") return sleep(words, i, command == "usleep", comment);
    if (command != "i2ctransfer") {
      return problem("'" + std::string(words[i]) + "' is not an i2ctransfer, sleep or usleep line");
    }
    transfer(words, i + 1, comment);
  }

 private:
  void sleep(const std::vector<std::string_view>& words, std::size_t i, bool micro,
             std::string comment) {
    if (words.size() != i + 2) return problem("sleep takes one time");
    std::optional<std::uint64_t> ms;
    if (micro) {
      if (const auto us = parseDecimal(words[i + 1])) ms = *us / 1000 + (*us % 1000 != 0 ? 1 : 0);
    } else {
      ms = sleepMs(words[i + 1]);
    }
    if (!ms) return problem("'" + std::string(words[i + 1]) + "' is not a time");
    if (*ms > kLongestWaitMs) return problem("a sleep of " + std::to_string(*ms) + " ms is longer than an hour");
    converter_.delay(static_cast<std::uint32_t>(*ms), std::move(comment));
  }

  void transfer(const std::vector<std::string_view>& words, std::size_t i, std::string comment) {
    while (i < words.size() && words[i].size() > 1 && words[i][0] == '-') {
      for (const char flag : words[i].substr(1)) {
        if (flag != 'f' && flag != 'y' && flag != 'v' && flag != 'a') {
          return problem("i2ctransfer option -" + std::string(1, flag) + " makes no transfer");
        }
      }
      ++i;
    }
    if (i >= words.size()) return problem("i2ctransfer without a bus");
    // The script runs on one bus, the tool's own: lines for another cannot join it.
    std::string_view bus = words[i++];
    // i2ctransfer takes a bus by number or as its adapter's name: 1, i2c-1, /dev/i2c-1.
    for (const std::string_view prefix : {"/dev/i2c-", "i2c-"}) {
      if (bus.starts_with(prefix) && bus.size() > prefix.size()) bus.remove_prefix(prefix.size());
    }
    if (!bus_) bus_ = std::string(bus);
    if (bus != *bus_) {
      return problem("a transfer on bus " + std::string(bus) + " after transfers on bus " + *bus_ +
                     ": a script runs on one bus");
    }
    std::vector<BusMessage> messages;
    std::optional<std::uint8_t> address;
    while (i < words.size()) {
      if (!message(words, i, address, messages)) return;
    }
    if (messages.empty()) return problem("i2ctransfer without a message");
    messages.back().note = std::move(comment);
    for (BusMessage& message : messages) converter_.message(std::move(message));
  }

  // One "{r|w}LENGTH[@ADDRESS]" with the data bytes of a write, from words[i] on.
  bool message(const std::vector<std::string_view>& words, std::size_t& i,
               std::optional<std::uint8_t>& address, std::vector<BusMessage>& messages) {
    const std::string_view desc = words[i++];
    const char direction = desc[0];
    if (direction != 'r' && direction != 'R' && direction != 'w' && direction != 'W') {
      problem("'" + std::string(desc) + "' is not a message (r or w, a length, @ and an address)");
      return false;
    }
    const std::size_t at = desc.find('@');
    const auto length = parseCNumber(desc.substr(1, at == std::string_view::npos ? at : at - 1));
    if (!length || *length > 0xFFFF) {
      problem("'" + std::string(desc) + "' has no length of 0 to 65535");
      return false;
    }
    if (at != std::string_view::npos) {
      const auto seven = parseHex(desc.substr(at + 1));
      const auto parsed = seven
                              ? i2c::DeviceAddress::fromNumber(*seven, i2c::AddressForm::SevenBit)
                              : std::nullopt;
      if (!parsed) {
        problem("'" + std::string(desc.substr(at + 1)) + "' is not a 7-bit address");
        return false;
      }
      address = parsed->device.writeByte();
    }
    if (!address) {
      problem("'" + std::string(desc) + "' names no address, and no message before it did");
      return false;
    }
    BusMessage message;
    message.address = *address;
    message.read = direction == 'r' || direction == 'R';
    message.readLength = message.read ? *length : 0;
    message.line = number_;
    if (!message.read && !data(words, i, *length, message.bytes)) return false;
    messages.push_back(std::move(message));
    return true;
  }

  // The bytes of a write: numbers as C writes them, a suffix + - or = filling the rest.
  bool data(const std::vector<std::string_view>& words, std::size_t& i, std::uint64_t length,
            std::vector<std::uint8_t>& bytes) {
    while (bytes.size() < length) {
      if (i >= words.size()) {
        problem("a write of " + std::to_string(length) + " bytes with " +
                std::to_string(bytes.size()) + " given");
        return false;
      }
      std::string_view word = words[i++];
      char suffix = 0;
      if (!word.empty() && (word.back() == '+' || word.back() == '-' || word.back() == '=' ||
                            word.back() == 'p')) {
        suffix = word.back();
        word.remove_suffix(1);
      }
      const auto value = parseCNumber(word);
      if (!value || *value > 0xFF || suffix == 'p') {
        problem("'" + std::string(words[i - 1]) + "' is not a data byte" +
                (suffix == 'p' ? " this tool can repeat (p)" : ""));
        return false;
      }
      auto byte = static_cast<std::uint8_t>(*value);
      do {
        bytes.push_back(byte);
        byte = static_cast<std::uint8_t>(suffix == '+' ? byte + 1 : suffix == '-' ? byte - 1 : byte);
      } while (suffix != 0 && bytes.size() < length);
    }
    return true;
  }

  void problem(std::string message) { problems_.push_back(Problem{fileName_, number_, std::move(message)}); }

  MessageConverter& converter_;
  const std::string& fileName_;
  Problems& problems_;
  std::size_t number_ = 0;
  // The bus of the first transfer.
  std::optional<std::string> bus_;
};

std::string byteText(std::uint32_t value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02x", value & 0xFF);
  return text;
}

// The bytes of a number of `bits`, most significant first.
void appendBytes(std::string& text, std::uint32_t value, int bytes) {
  for (int shift = 8 * bytes - 8; shift >= 0; shift -= 8) {
    text += " " + byteText(value >> shift);
  }
}

}  // namespace

ImportResult importI2cTransfer(std::string_view text, const std::string& fileName,
                               const ImportOptions& options) {
  ImportResult result;
  ScriptBuilder builder;
  MessageConverter converter(fileName, options, builder, result.problems);
  I2cTransferReader reader(converter, fileName, result.problems);
  const std::vector<std::string_view> lines = splitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) reader.line(lines[i], i + 1);
  converter.finish();
  result.script = builder.take();
  return result;
}

ExportResult exportI2cTransfer(const Script& script, const std::string& scriptName,
                               const ExportOptions& options) {
  ExportResult result;
  result.text = "#!/bin/sh\n# " + oneLine(scriptName) + " as i2c-tools lines (7-bit addresses)\n";
  const std::string command = "i2ctransfer -y " + std::to_string(options.i2cBus) + " ";
  const auto write = [&](const Statement& statement,
                         const Target& target) -> std::optional<std::string> {
    if (statement.op == Op::Comment) {
      result.text +=
          "#" + (statement.comment.empty() ? "" : " " + oneLine(statement.comment)) + "\n";
      return std::nullopt;
    }
    std::string line;
    const i2c::RegisterFormat& format = target.format;
    const std::string at = "@" + byteText(i2c::DeviceAddress::fromByte(target.device).sevenBit());
    switch (statement.op) {
      case Op::Write:
        line = command + "w" + std::to_string(format.addressBytes + format.valueBytes) + at;
        appendBytes(line, statement.reg, format.addressBytes);
        appendBytes(line, statement.value, format.valueBytes);
        break;
      case Op::Read:
        line = command + "w" + std::to_string(format.addressBytes) + at;
        appendBytes(line, statement.reg, format.addressBytes);
        // STOP then START is the script's way to read (SCCB sensors need it): two lines.
        if (!options.repeatedStartReads) line += "\n" + command;
        line += (options.repeatedStartReads ? " r" : "r") +
                std::to_string(statement.number * static_cast<std::uint32_t>(format.valueBytes)) +
                (options.repeatedStartReads ? "" : at);
        break;
      case Op::Delay: {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "sleep %u.%03u", statement.number / 1000,
                      statement.number % 1000);
        line = seconds;
        break;
      }
      default:
        return notHeld(statement, "as i2ctransfer lines");
    }
    if (!statement.comment.empty()) line += " # " + oneLine(statement.comment);
    result.text += line + "\n";
    return std::nullopt;
  };
  if (std::optional<ExportResult> failed = writeStatements(script, scriptName, write)) {
    return *failed;
  }
  return result;
}

}  // namespace brelvion::scripts
