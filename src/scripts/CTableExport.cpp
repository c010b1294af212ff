// A script as a register table of a Linux sensor driver: regmap's struct reg_sequence rows
// {reg, val}; CCI_REGn(reg) where the value widths are not all 8 bits; and rows
// {reg, val, mask, delay_ms} (mask 0 a plain write) where the script modifies or waits.
#include <cstdio>
#include <optional>
#include <variant>
#include <vector>

#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "scripts/Converters.h"

namespace brelvion::scripts {

namespace {

struct OutRow {
  std::uint32_t reg = 0;
  std::uint32_t value = 0;
  std::uint32_t mask = 0;
  int valueBytes = 1;
  std::uint64_t delayMs = 0;
  std::string comment;
};

struct OutNote {
  std::string text;
};

using OutItem = std::variant<OutRow, OutNote>;

struct Table {
  std::vector<OutItem> items;
  std::uint8_t device = 0;
  int addressBytes = 1;
  bool cci = false;
  bool fourFields = false;
};

std::string literal(std::uint32_t value, int bytes) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*x", 2 * bytes, value);
  return text;
}

// A C comment's text, which must not close the comment early.
std::string commentText(const std::string& text) {
  std::string safe;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char ch = text[i];
    safe.push_back(ch == '\r' || ch == '\n' ? ' ' : ch);
    if (ch == '*' && i + 1 < text.size() && text[i + 1] == '/') safe.push_back(' ');
  }
  return safe;
}

// The table's name: the script's file name without folder and extension, as a C name.
std::string tableName(const std::string& scriptName) {
  std::string base = scriptName.substr(scriptName.find_last_of('/') + 1);
  base = base.substr(0, base.find('.'));
  std::string name;
  for (const char ch : base) {
    const bool keep = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                      (ch >= '0' && ch <= '9') || ch == '_';
    name.push_back(keep ? ch : '_');
  }
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) name.insert(0, "script_");
  return name + "_regs";
}

// Gathers the rows first: the table's type and the rows' form depend on all of them.
class TableCollector {
 public:
  // Why statement cannot be in the table, or nothing once it is.
  std::optional<std::string> statement(const Statement& statement, const Target& target) {
    switch (statement.op) {
      case Op::Comment:
        table.items.emplace_back(OutNote{statement.comment});
        return std::nullopt;
      case Op::Write:
      case Op::Modify:
        return row(statement, target);
      case Op::Delay:
        return delay(statement);
      default:
        return notHeld(statement, "in a C register table");
    }
  }

  Table table;

 private:
  std::optional<std::string> row(const Statement& statement, const Target& target) {
    if (rows_ > 0 && target.device != table.device) {
      return "device " + numconv::upperHex(target.device, 2) + " after device " +
             numconv::upperHex(table.device, 2) + ": a C table holds the registers of one device";
    }
    if (rows_ > 0 && target.format.addressBytes != table.addressBytes) {
      return "registers of " + std::to_string(8 * target.format.addressBytes) + " bits after " +
             std::to_string(8 * table.addressBytes) + ": a C table holds registers of one width";
    }
    if (statement.op == Op::Modify && statement.mask == 0) {
      return "modify with mask 0 cannot be written in a C table, where mask 0 is a plain write";
    }
    table.device = target.device;
    table.addressBytes = target.format.addressBytes;
    table.cci = table.cci || target.format.valueBytes != 1;
    table.fourFields = table.fourFields || statement.op == Op::Modify;
    OutRow out;
    out.reg = statement.reg;
    out.value = statement.value;
    out.mask = statement.op == Op::Modify ? statement.mask : 0;
    out.valueBytes = target.format.valueBytes;
    out.comment = statement.comment;
    table.items.emplace_back(out);
    lastRow_ = table.items.size() - 1;
    ++rows_;
    return std::nullopt;
  }

  std::optional<std::string> delay(const Statement& statement) {
    if (statement.number == 0) return std::nullopt;
    if (rows_ == 0) {
      return "a delay before the first write cannot be written in a C table, where a delay "
             "follows a row";
    }
    OutRow& last = std::get<OutRow>(table.items[lastRow_]);
    if (last.delayMs + statement.number > kLongestWaitMs) {
      return "the delays after one row add up to more than an hour, the longest a C table "
             "row's delay may be here";
    }
    last.delayMs += statement.number;
    table.fourFields = true;
    if (!statement.comment.empty()) table.items.emplace_back(OutNote{statement.comment});
    return std::nullopt;
  }

  std::size_t rows_ = 0;
  std::size_t lastRow_ = 0;
};

std::string rowText(const Table& table, const OutRow& row) {
  std::string reg = literal(row.reg, table.addressBytes);
  if (table.cci) reg = "CCI_REG" + std::to_string(8 * row.valueBytes) + "(" + reg + ")";
  std::string text = "\t{ " + reg + ", " + literal(row.value, row.valueBytes);
  if (table.fourFields) {
    text += ", " + literal(row.mask, row.valueBytes) + ", " + std::to_string(row.delayMs);
  }
  text += " },";
  if (!row.comment.empty()) text += " /* " + commentText(row.comment) + " */";
  return text + "\n";
}

}  // namespace

ExportResult exportCTable(const Script& script, const std::string& scriptName) {
  TableCollector collector;
  const auto collect = [&collector](const Statement& statement, const Target& target) {
    return collector.statement(statement, target);
  };
  if (std::optional<ExportResult> failed = writeStatements(script, scriptName, collect)) {
    return *failed;
  }
  const Table& table = collector.table;
  const char* type = table.fourFields ? "reg_value" : (table.cci ? "cci_reg_sequence" : "reg_sequence");
  ExportResult result;
  result.text = "/* " + commentText(scriptName) + " for the device at " +
                numconv::upperHex(table.device, 2) + " (7-bit " +
                i2c::DeviceAddress::fromByte(table.device).text(i2c::AddressForm::SevenBit) +
                "), " + std::to_string(8 * table.addressBytes) + "-bit registers" +
                (table.fourFields ? "; rows {reg, val, mask (0: write), delay_ms}" : "") + " */\n";
  result.text += "static const struct " + std::string(type) + " " + tableName(scriptName) + "[] = {\n";
  for (const OutItem& item : table.items) {
    if (const OutNote* note = std::get_if<OutNote>(&item)) {
      result.text += "\t/* " + commentText(note->text) + " */\n";
    } else {
      result.text += rowText(table, std::get<OutRow>(item));
    }
  }
  result.text += "};\n";
  return result;
}

}  // namespace brelvion::scripts
