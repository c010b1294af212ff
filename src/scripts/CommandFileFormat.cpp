// The tool's command files (.i2c): three hex values a write (device, register, data), read
// as the sender reads them.
#include <array>
#include <optional>
#include <vector>

#include "numconv/HexFields.h"
#include "numconv/HexText.h"
#include "scripts/CommandFileWrites.h"
#include "scripts/Converters.h"
#include "scripts/ScriptBuilder.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptWriter.h"
#include "scripts/TextLines.h"

namespace brelvion::scripts {

namespace {

bool isSeparator(char ch) { return ch == ' ' || ch == '\t' || ch == ','; }
bool isHexDigit(char ch) { return numconv::hexDigitValue(ch).has_value(); }

struct Value {
  std::uint8_t value;
  std::size_t line;
};

class CommandFileImport {
 public:
  CommandFileImport(const std::string& fileName, const ImportOptions& options, ImportResult& result)
      : fileName_(fileName), options_(options), result_(result) {}

  void line(std::string_view text, std::size_t number) {
    const std::size_t semicolon = text.find(';');
    const std::string_view code = text.substr(0, semicolon);
    const std::size_t statementsBefore = builder_.script().statements.size();
    const std::vector<std::uint8_t> values = scan(code, number);
    if (!plain(code)) {
      std::string read;
      for (const std::uint8_t value : values) read += " " + numconv::upperHex(value, 2);
      problem(number, "not only hex values: the sender reads this line as" +
                          (read.empty() ? std::string(" no values") : " the values" + read) +
                          " (a value is one or two hex digits, between blanks)");
    }
    if (semicolon != std::string_view::npos) {
      comment(std::string(trimBlanks(text.substr(semicolon + 1))), statementsBefore);
    }
  }

  void finish() {
    if (group_.empty()) return;
    problem(group_.front().line,
            std::to_string(group_.size()) + (group_.size() == 1 ? " value" : " values") +
                " at the end of the file make no write (three values a write): the sender "
                "sends nothing for them");
  }

  Script take() { return builder_.take(); }

 private:
  // The values of the line as the sender takes them; its line end ends a lone digit.
  std::vector<std::uint8_t> scan(std::string_view code, std::size_t number) {
    std::vector<std::uint8_t> values;
    const auto keep = [&](std::uint8_t value) {
      values.push_back(value);
      take(Value{value, number});
    };
    numconv::HexFieldReader reader;
    for (const char ch : code) {
      if (const std::optional<std::uint8_t> value = reader.take(ch)) keep(*value);
    }
    if (const std::optional<std::uint8_t> value = reader.end()) keep(*value);
    return values;
  }

  // Only values of one or two digits between separators.
  static bool plain(std::string_view code) {
    std::size_t run = 0;
    for (const char ch : code) {
      if (isHexDigit(ch)) {
        if (++run > 2) return false;
      } else if (isSeparator(ch)) {
        run = 0;
      } else {
        return false;
      }
    }
    return true;
  }

  void take(const Value& value) {
    group_.push_back(value);
    if (group_.size() < 3) return;
    const Step write = commandFileWrite(group_[0].value, group_[1].value, group_[2].value);
    builder_.command(write.target, Statement::write(write.reg, write.value));
    if (options_.keepPauses) builder_.delay(kPauseAfterWriteMs);
    group_.clear();
  }

  // A comment goes with the write its line began, else on a line of its own.
  void comment(std::string text, std::size_t statementsBefore) {
    Statement* last = builder_.lastCommand();
    const bool madeHere = builder_.script().statements.size() > statementsBefore;
    if (madeHere && last != nullptr && last->comment.empty() && !text.empty()) {
      last->comment = std::move(text);
    } else {
      builder_.comment(std::move(text));
    }
  }

  void problem(std::size_t line, std::string message) {
    result_.problems.push_back(Problem{fileName_, line, std::move(message)});
  }

  const std::string& fileName_;
  const ImportOptions& options_;
  ImportResult& result_;
  ScriptBuilder builder_;
  std::vector<Value> group_;
};

std::string hex2(std::uint32_t value) { return numconv::upperHex(value, 2); }

}  // namespace

ImportResult importCommandFile(std::string_view text, const std::string& fileName,
                               const ImportOptions& options) {
  ImportResult result;
  if ((options.addressBytes && *options.addressBytes != 1) ||
      (options.valueBytes && *options.valueBytes != 1)) {
    result.failed = true;
    result.problems.push_back(
        Problem{fileName, 0, "a .i2c file has 8-bit registers and values, not the widths given"});
    return result;
  }
  // The sender refuses a script sent as a command file; so does its importer.
  if (const std::optional<ScriptStart> start = scriptStartOf(text)) {
    result.failed = true;
    result.problems.push_back(
        Problem{fileName, start->line, scriptNotCommandFile(fileName, *start)});
    return result;
  }
  CommandFileImport reader(fileName, options, result);
  const std::vector<std::string_view> lines = splitLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) reader.line(lines[i], i + 1);
  reader.finish();
  result.script = reader.take();
  return result;
}

ExportResult exportCommandFile(const Script& script, const std::string& scriptName) {
  ExportResult result;
  std::uint32_t pauseLeft = 0;
  const auto write = [&](const Statement& statement,
                         const Target& target) -> std::optional<std::string> {
    switch (statement.op) {
      case Op::Comment:
        result.text += statement.comment.empty() ? ";" : "; " + oneLine(statement.comment);
        result.text += "\r\n";
        return std::nullopt;
      case Op::Write:
        if (target.format != i2c::kByteRegisters) {
          return "'" + writeStatement(Statement::write(statement.reg, statement.value), target) +
                 "' has regbits " + std::to_string(8 * target.format.addressBytes) +
                 " and valbits " + std::to_string(8 * target.format.valueBytes) +
                 "; a .i2c file holds writes of 8-bit registers and values only";
        }
        result.text += hex2(target.device) + " " + hex2(statement.reg) + " " + hex2(statement.value);
        if (!statement.comment.empty()) result.text += " ; " + oneLine(statement.comment);
        result.text += "\r\n";
        pauseLeft = kPauseAfterWriteMs;
        return std::nullopt;
      case Op::Delay:
        // The pause the sender makes after every write holds a short enough delay.
        if (statement.number > pauseLeft) {
          return "delay " + std::to_string(statement.number) +
                 " cannot be written in a .i2c file: its only pause is the 0.1 s after each write";
        }
        pauseLeft -= statement.number;
        if (!statement.comment.empty()) result.text += "; " + oneLine(statement.comment) + "\r\n";
        return std::nullopt;
      default:
        return notHeld(statement, "in a .i2c file, which holds writes only");
    }
  };
  if (std::optional<ExportResult> failed = writeStatements(script, scriptName, write)) {
    return *failed;
  }
  return result;
}

}  // namespace brelvion::scripts
