#include "scripts/ScriptReader.h"

#include <array>
#include <optional>

#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "scripts/TextLines.h"

namespace brelvion::scripts {

namespace {

constexpr const char* kReaderSource = "Read Script";

// What an argument is, which says how it is read and checked.
enum class Arg { Register, Value, Mask, Milliseconds, Count, Address, RegWidth, ValWidth };

struct CommandSpec {
  std::string_view name;
  Op op;
  std::string_view usage;
  std::array<Arg, 4> args;
  std::size_t argCount;
};

constexpr std::array<CommandSpec, 9> kCommands{{
    {"device", Op::Device, "device ADDRESS", {Arg::Address}, 1},
    {"regbits", Op::RegBits, "regbits 8|16", {Arg::RegWidth}, 1},
    {"valbits", Op::ValBits, "valbits 8|16|32", {Arg::ValWidth}, 1},
    {"write", Op::Write, "write REGISTER VALUE", {Arg::Register, Arg::Value}, 2},
    {"delay", Op::Delay, "delay MS", {Arg::Milliseconds}, 1},
    {"modify",
     Op::Modify,
     "modify REGISTER MASK VALUE",
     {Arg::Register, Arg::Mask, Arg::Value},
     3},
    {"poll",
     Op::Poll,
     "poll REGISTER MASK VALUE MS",
     {Arg::Register, Arg::Mask, Arg::Value, Arg::Milliseconds},
     4},
    {"expect", Op::Expect, "expect REGISTER VALUE", {Arg::Register, Arg::Value}, 2},
    {"read", Op::Read, "read REGISTER COUNT", {Arg::Register, Arg::Count}, 2},
}};

constexpr std::string_view kCommandList =
    "device, regbits, valbits, write, delay, modify, poll, expect, read";

const CommandSpec* findCommand(std::string_view word) {
  const std::string lower = lowerCase(word);
  for (const CommandSpec& form : kCommands) {
    if (form.name == lower) return &form;
  }
  return nullptr;
}

// The placeholder of argument i in form's usage ("VALUE").
std::string_view placeholder(const CommandSpec& form, std::size_t i) {
  std::string_view rest = form.usage.substr(form.name.size() + 1);
  for (std::size_t k = 0; k < i; ++k) rest = rest.substr(rest.find(' ') + 1);
  return rest.substr(0, rest.find(' '));
}

std::string quoted(std::string_view word) { return "'" + std::string(word) + "'"; }

class LineReader {
 public:
  LineReader(const std::string& fileName, ReadResult& result)
      : fileName_(fileName), result_(result) {}

  void line(std::string_view text, std::size_t number) {
    number_ = number;
    const std::size_t semicolon = text.find(';');
    const std::string_view code = text.substr(0, semicolon);
    const std::vector<std::string_view> words = splitWords(code);
    Statement statement;
    statement.line = number;
    if (semicolon != std::string_view::npos) {
      statement.comment = std::string(trimBlanks(text.substr(semicolon + 1)));
    }
    if (words.empty()) {
      if (semicolon != std::string_view::npos) result_.script.statements.push_back(statement);
      return;
    }
    const CommandSpec* form = findCommand(words[0]);
    if (form == nullptr) {
      problem("unknown command " + quoted(words[0]) + " (the commands: " +
              std::string(kCommandList) + ")");
      return;
    }
    statement.op = form->op;
    if (command(*form, words, statement)) result_.script.statements.push_back(statement);
  }

 private:
  void problem(std::string message) {
    result_.problems.push_back(Problem{fileName_, number_, std::move(message)});
  }

  bool command(const CommandSpec& form, const std::vector<std::string_view>& words,
               Statement& statement) {
    const std::string name(form.name);
    const std::string usage = " (" + std::string(form.usage) + ")";
    if (words.size() - 1 < form.argCount) {
      problem(name + ": missing " + std::string(placeholder(form, words.size() - 1)) + usage);
      return false;
    }
    if (words.size() - 1 > form.argCount) {
      problem(name + ": extra argument " + quoted(words[form.argCount + 1]) + usage);
      return false;
    }
    if (isBusCommand(form.op) && !deviceSeen_ && !deviceReported_) {
      problem(name + ": no device line before the first bus command");
      deviceReported_ = true;
    }
    bool good = true;
    for (std::size_t i = 0; i < form.argCount; ++i) {
      good = argument(form, i, words[i + 1], statement) && good;
    }
    if (good && statement.op == Op::Poll && (statement.value & ~statement.mask) != 0) {
      // The read is masked before it is compared, so such a poll waits out its time.
      problem("poll: VALUE " + std::string(words[3]) + " has bits outside MASK " +
              std::string(words[2]) + ", so the poll can never succeed");
      good = false;
    }
    if (good) settle(statement);
    return good;
  }

  // A setting takes effect for the lines after it.
  void settle(const Statement& statement) {
    switch (statement.op) {
      case Op::Device:
        deviceSeen_ = true;
        break;
      case Op::RegBits:
      case Op::ValBits:
        applySetting(statement, widths_);
        break;
      default:
        break;
    }
  }

  bool argument(const CommandSpec& form, std::size_t i, std::string_view word,
                Statement& statement) {
    const std::string what = std::string(form.name) + ": " + std::string(placeholder(form, i)) + " ";
    const Arg arg = form.args[i];
    const bool hex = arg == Arg::Register || arg == Arg::Value || arg == Arg::Mask ||
                     arg == Arg::Address;
    const std::optional<std::uint64_t> number = hex ? parseHex(word) : parseDecimal(word);
    if (!number) {
      problem(what + quoted(word) + (hex ? " is not a hex number" : " is not a decimal number"));
      return false;
    }
    switch (arg) {
      case Arg::Register:
        return fits(what, word, *number, widths_.format.addressBytes, "regbits") &&
               store(statement.reg, *number);
      case Arg::Value:
        return fits(what, word, *number, widths_.format.valueBytes, "valbits") &&
               store(statement.value, *number);
      case Arg::Mask:
        return fits(what, word, *number, widths_.format.valueBytes, "valbits") &&
               store(statement.mask, *number);
      case Arg::Milliseconds:
        if (*number > kLongestWaitMs) {
          problem(std::string(form.name) + ": " + std::string(word) + " ms is longer than an hour (" +
                  std::to_string(kLongestWaitMs) + " ms)");
          return false;
        }
        return store(statement.number, *number);
      case Arg::Count:
        if (*number < 1 || *number > kMostRegistersRead) {
          problem(what + std::string(word) + " is not 1 to " + std::to_string(kMostRegistersRead));
          return false;
        }
        return store(statement.number, *number);
      case Arg::Address:
        return address(what, word, *number, statement);
      case Arg::RegWidth:
        if (!isRegisterWidth(static_cast<std::uint32_t>(std::min<std::uint64_t>(*number, 99)))) {
          problem("regbits: " + std::string(word) + " is not 8 or 16");
          return false;
        }
        return store(statement.value, *number);
      case Arg::ValWidth:
        if (!isValueWidth(static_cast<std::uint32_t>(std::min<std::uint64_t>(*number, 99)))) {
          problem("valbits: " + std::string(word) + " is not 8, 16 or 32");
          return false;
        }
        return store(statement.value, *number);
    }
    return false;
  }

  bool fits(const std::string& what, std::string_view word, std::uint64_t number, int bytes,
            std::string_view setting) {
    if (number <= i2c::maxValue(bytes)) return true;
    problem(what + std::string(word) + " is too wide for " + std::string(setting) + " " +
            std::to_string(8 * bytes) + " (at most " + numconv::upperHex(i2c::maxValue(bytes)) +
            ")");
    return false;
  }

  bool address(const std::string& what, std::string_view word, std::uint64_t number,
               Statement& statement) {
    const auto parsed = i2c::DeviceAddress::fromNumber(number, i2c::AddressForm::EightBit);
    if (!parsed) {
      problem(what + std::string(word) + " is not an 8-bit address");
      return false;
    }
    if (parsed->readBit) {
      problem("device: " + std::string(word) +
              " is a read address (bit 0 set); the write address is " +
              parsed->device.text(i2c::AddressForm::EightBit));
      return false;
    }
    return store(statement.value, parsed->device.writeByte());
  }

  static bool store(std::uint32_t& field, std::uint64_t number) {
    field = static_cast<std::uint32_t>(number);
    return true;
  }

  const std::string& fileName_;
  ReadResult& result_;
  std::size_t number_ = 0;
  // The widths the regbits and valbits lines so far set.
  Target widths_;
  bool deviceSeen_ = false;
  bool deviceReported_ = false;
};

}  // namespace

bool isScriptFileName(std::string_view path) {
  return path.size() > kScriptExtension.size() &&
         lowerCase(path.substr(path.size() - kScriptExtension.size())) == kScriptExtension;
}

std::string_view scriptCommandOf(std::string_view line) {
  const std::vector<std::string_view> words = splitWords(line.substr(0, line.find(';')));
  if (words.empty() || findCommand(words[0]) == nullptr) return {};
  return words[0];
}

std::optional<ScriptStart> scriptStartOf(std::string_view text) {
  const std::vector<std::string_view> lines = splitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (splitWords(lines[i].substr(0, lines[i].find(';'))).empty()) continue;
    const std::string_view command = scriptCommandOf(lines[i]);
    if (command.empty()) return std::nullopt;
    return ScriptStart{i + 1, std::string(command)};
  }
  return std::nullopt;
}

std::string scriptNotCommandFile(const std::string& file, const ScriptStart& start) {
  return file + " is a bring-up script, not a command file (line " + std::to_string(start.line) +
         " starts with '" + start.command + "'): send it under a name ending in .i2cs";
}

ReadResult readScript(std::string_view text, const std::string& fileName) {
  ReadResult result;
  LineReader reader(fileName, result);
  const std::vector<std::string_view> lines = splitLines(text);
  result.script.statements.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) reader.line(lines[i], i + 1);
  return result;
}

ReadResult readScriptFile(const std::string& path) {
  return readScript(readTextFile(path, kReaderSource), path);
}

}  // namespace brelvion::scripts
