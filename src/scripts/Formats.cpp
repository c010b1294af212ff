#include "scripts/Formats.h"

#include <array>

#include "base/Text.h"
#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "scripts/Converters.h"
#include "scripts/TextLines.h"

namespace brelvion::scripts {

namespace {

constexpr const char* kImportSource = "Import";

struct FormatEntry {
  Format format;
  std::string_view name;
};

constexpr std::array<FormatEntry, 5> kFormats{{
    {Format::C, "c"},
    {Format::I2ctransfer, "i2ctransfer"},
    {Format::Xml, "xml"},
    {Format::Vcd, "vcd"},
    {Format::I2c, "i2c"},
}};

}  // namespace

std::optional<Format> formatNamed(std::string_view name) {
  const std::string lower = lowerCase(name);
  for (const FormatEntry& entry : kFormats) {
    if (entry.name == lower) return entry.format;
  }
  return std::nullopt;
}

std::string_view formatName(Format format) {
  for (const FormatEntry& entry : kFormats) {
    if (entry.format == format) return entry.name;
  }
  return "";
}

std::string_view formatNames() { return "c, i2ctransfer, xml, vcd, i2c"; }

bool canExport(Format format) { return format != Format::Vcd; }

namespace {

// The options as the importers take them for granted: a write address, widths there are.
std::optional<std::string> optionsProblem(const ImportOptions& options) {
  if (options.device && (*options.device & 1) != 0) {
    return "the device " + numconv::upperHex(*options.device, 2) +
           " is a read address; the 8-bit write address is " +
           i2c::DeviceAddress::fromByte(*options.device).text(i2c::AddressForm::EightBit);
  }
  if (options.addressBytes && !isRegisterWidth(8u * static_cast<unsigned>(*options.addressBytes))) {
    return "register widths are 8 or 16 bits, not " + std::to_string(8 * *options.addressBytes);
  }
  if (options.valueBytes && !isValueWidth(8u * static_cast<unsigned>(*options.valueBytes))) {
    return "value widths are 8, 16 or 32 bits, not " + std::to_string(8 * *options.valueBytes);
  }
  return std::nullopt;
}

}  // namespace

ImportResult importText(Format format, std::string_view text, const std::string& fileName,
                        const ImportOptions& options) {
  ImportResult result;
  if (const auto problem = optionsProblem(options)) {
    result.failed = true;
    result.problems.push_back(Problem{fileName, 0, *problem});
    return result;
  }
  // A capture is read by its own tokenizer, not by lines: the mark comes off here for all.
  text = base::withoutByteOrderMark(text);
  switch (format) {
    case Format::C:
      result = importCTable(text, fileName, options);
      break;
    case Format::I2ctransfer:
      result = importI2cTransfer(text, fileName, options);
      break;
    case Format::Xml:
      result = importXmlBatch(text, fileName, options);
      break;
    case Format::Vcd:
      result = importVcd(text, fileName, options);
      break;
    case Format::I2c:
      result = importCommandFile(text, fileName, options);
      break;
  }
  result.skipUnknown = options.skipUnknown;
  return result;
}

ImportResult importFile(Format format, const std::string& path, const ImportOptions& options) {
  return importText(format, readTextFile(path, kImportSource), path, options);
}

ExportResult exportScript(Format format, const Script& script, const std::string& scriptName,
                          const ExportOptions& options) {
  switch (format) {
    case Format::C:
      return exportCTable(script, scriptName);
    case Format::I2ctransfer:
      return exportI2cTransfer(script, scriptName, options);
    case Format::Xml:
      return exportXmlBatch(script, scriptName);
    case Format::I2c:
      return exportCommandFile(script, scriptName);
    case Format::Vcd:
      break;
  }
  return ExportResult{{}, Problem{scriptName, 0, "a script cannot be exported as a capture (vcd)"}};
}

ExportResult cannotExport(const std::string& scriptName, const Statement& statement,
                          std::size_t index, const std::string& why) {
  return ExportResult{{}, Problem{scriptName, lineOf(statement, index), why}};
}

std::optional<ExportResult> writeStatements(
    const Script& script, const std::string& scriptName, const StatementWriter& write,
    const std::function<void(const Statement&)>& onSetting) {
  Target target;
  for (std::size_t i = 0; i < script.statements.size(); ++i) {
    const Statement& statement = script.statements[i];
    if (applySetting(statement, target)) {
      if (onSetting) onSetting(statement);
      continue;
    }
    if (const std::optional<std::string> why = write(statement, target)) {
      return cannotExport(scriptName, statement, i, *why);
    }
  }
  return std::nullopt;
}

std::string notHeld(const Statement& statement, std::string_view where) {
  return std::string(commandName(statement.op)) + " cannot be written " + std::string(where);
}

}  // namespace brelvion::scripts
