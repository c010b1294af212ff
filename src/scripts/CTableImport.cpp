// Register tables as Linux sensor drivers hold them: {reg, val} rows (the register plain or
// as CCI_REGn(reg), which gives the value's width), regmap's {reg, val, delay_us}, the
// {reg, val, mask, delay_ms} rows where mask 0 is a plain write, and rows of a delay or end
// marker ({REG_DELAY, 10}, {XXX_TABLE_WAIT_MS, 5}, {REG_NULL, 0x00}).
#include <algorithm>
#include <variant>

#include "numconv/HexText.h"
#include "scripts/CSource.h"
#include "scripts/CTableRows.h"
#include "scripts/Converters.h"
#include "scripts/ScriptBuilder.h"
#include "scripts/TextLines.h"

namespace brelvion::scripts {

namespace {

using csource::Field;
using ctable::Row;
using ctable::TableWidths;

struct Note {
  std::string text;
};

using Item = std::variant<Row, Note>;

std::uint64_t microsecondsToMs(std::uint64_t us) { return us / 1000 + (us % 1000 != 0 ? 1 : 0); }

class CTableReader {
 public:
  CTableReader(const std::string& fileName, ImportResult& result)
      : fileName_(fileName), result_(result) {}

  void line(const csource::CodeLine& line) {
    const std::string_view code = trimBlanks(line.code);
    if (code.empty()) {
      if (!line.comment.empty()) items_.emplace_back(Note{line.comment});
      return;
    }
    if (code == "};" || code == "}" || code == "};;") return;
    if (code[0] == '#') {
      problem(line.number, "a preprocessor line is not a row of a register table");
      return;
    }
    std::string_view rows = code;
    std::optional<csource::Declaration> declaration = csource::declarationOf(code);
    if (declaration) {
      ++table_;
      items_.emplace_back(Note{"table " + declaration->name + (line.comment.empty() ? "" : ": " + line.comment)});
      rows = trimBlanks(declaration->rest);
      if (rows.empty()) return;
    }
    std::string why;
    const auto fields = csource::rowsOf(rows, &why);
    if (!fields) {
      problem(line.number, why);
      return;
    }
    const std::size_t before = items_.size();
    for (const std::vector<std::string>& row : *fields) takeRow(row, line.number);
    // The comment of a line with one row is that row's.
    const std::size_t made = items_.size() - before;
    if (!declaration && !line.comment.empty()) {
      if (made == 1 && std::holds_alternative<Row>(items_.back())) {
        std::get<Row>(items_.back()).comment = line.comment;
      } else {
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(before), Note{line.comment});
      }
    }
  }

  std::vector<Item> take() { return std::move(items_); }
  // The tables read: rows before the first declaration are a table too.
  std::size_t tables() const { return table_ + 1; }

 private:
  void takeRow(const std::vector<std::string>& texts, std::size_t number) {
    std::vector<Field> fields;
    for (const std::string& text : texts) {
      const std::optional<Field> field = csource::parseField(text);
      if (!field) {
        problem(number, "'" + text + "' is not a number, CCI_REGn(register) or a name");
        return;
      }
      fields.push_back(*field);
    }
    Row row;
    row.line = number;
    row.table = table_;
    if (fields.size() == 2 && fields[0].kind == Field::Kind::Name) {
      marker(row, fields);
      return;
    }
    if (fields.size() < 2 || fields.size() > 4) {
      problem(number, "a row of " + std::to_string(fields.size()) +
                          " fields is none of {reg, val}, {reg, val, delay_us} and "
                          "{reg, val, mask, delay_ms}");
      return;
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
      const bool isNumber = fields[i].kind == Field::Kind::Number;
      if (i == 0 ? fields[i].kind == Field::Kind::Name : !isNumber) {
        problem(number, "'" + fields[i].text + "' where a number belongs");
        return;
      }
    }
    row.reg = fields[0];
    row.value = fields[1];
    if (fields.size() == 3) row.delayMs = microsecondsToMs(fields[2].number);
    if (fields.size() == 4) {
      row.mask = fields[2].number;
      row.kind = row.mask == 0 ? Row::Kind::Write : Row::Kind::Modify;
      row.delayMs = fields[3].number;
    }
    items_.emplace_back(row);
  }

  void marker(Row& row, const std::vector<Field>& fields) {
    const ctable::MarkerName* marker = ctable::markerNamed(fields[0].name);
    if (marker == nullptr) {
      problem(row.line, "'" + fields[0].name + "' is neither a register nor a delay or end marker");
      return;
    }
    if (marker->kind == Row::Kind::Delay) {
      if (fields[1].kind != Field::Kind::Number) {
        problem(row.line, "'" + fields[1].text + "' where the delay of " + fields[0].name +
                              " belongs");
        return;
      }
      row.delayMs = marker->microseconds ? microsecondsToMs(fields[1].number) : fields[1].number;
    }
    row.kind = marker->kind;
    row.reg = fields[0];
    items_.emplace_back(row);
  }

  void problem(std::size_t line, std::string message) {
    result_.problems.push_back(Problem{fileName_, line, std::move(message)});
  }

  const std::string& fileName_;
  ImportResult& result_;
  std::vector<Item> items_;
  std::size_t table_ = 0;
};

// The rows a table's widths come from: its writes, with a width a script has.
std::vector<Row*> rowsOfTable(std::vector<Item>& items, std::size_t table) {
  std::vector<Row*> rows;
  for (Item& item : items) {
    Row* row = std::get_if<Row>(&item);
    if (row == nullptr || row->table != table || row->kind == Row::Kind::Delay ||
        row->kind == Row::Kind::End) {
      continue;
    }
    // A row of a width no script has is reported and left out, here too.
    if (row->reg.kind == Field::Kind::Cci && !isValueWidth(row->reg.cciBits)) continue;
    rows.push_back(row);
  }
  return rows;
}

std::uint32_t swapped(std::uint32_t value, unsigned bits) {
  std::uint32_t result = 0;
  for (unsigned i = 0; i < bits / 8; ++i) result = (result << 8) | ((value >> (8 * i)) & 0xFF);
  return result;
}

class CTableWriter {
 public:
  CTableWriter(const std::string& fileName, std::vector<TableWidths> widths, std::uint8_t device,
               ImportResult& result)
      : fileName_(fileName), widths_(std::move(widths)), device_(device), result_(result) {}

  void item(const Item& item) {
    if (const Note* note = std::get_if<Note>(&item)) {
      builder_.comment(note->text);
      return;
    }
    const Row& row = std::get<Row>(item);
    if (row.leftOut) return;
    switch (row.kind) {
      case Row::Kind::End:
        builder_.comment("end of table (" + row.reg.name + ")" +
                         (row.comment.empty() ? "" : ": " + row.comment));
        return;
      case Row::Kind::Delay:
        // A wait of nothing, which a table row cannot give back: said, not run.
        if (row.delayMs == 0) {
          builder_.comment(row.reg.name + " of 0 ms: no wait" +
                           (row.comment.empty() ? "" : ": " + row.comment));
          return;
        }
        delay(row, row.comment);
        return;
      case Row::Kind::Write:
      case Row::Kind::Modify:
        command(row);
        return;
    }
  }

  Script take() { return builder_.take(); }

 private:
  void command(const Row& row) {
    const TableWidths& widths = widths_[row.table];
    // A CCI_REGn row gives its own value width, in bits as the macro's name does.
    const unsigned valBits = row.reg.kind == Field::Kind::Cci
                                 ? row.reg.cciBits
                                 : 8u * static_cast<unsigned>(widths.valueBytes);
    if (!isValueWidth(valBits)) {
      problem(row.line, "CCI_REG" + std::to_string(valBits) +
                            ": values of that width are none of 8, 16 and 32 bits");
      return;
    }
    if (!fits(row, row.reg.number, 8u * static_cast<unsigned>(widths.addressBytes), "register") ||
        !fits(row, row.value.number, valBits, "value") || !fits(row, row.mask, valBits, "mask")) {
      return;
    }
    auto value = static_cast<std::uint32_t>(row.value.number);
    auto mask = static_cast<std::uint32_t>(row.mask);
    if (row.reg.littleEndian) {
      value = swapped(value, valBits);
      mask = swapped(mask, valBits);
    }
    const auto reg = static_cast<std::uint32_t>(row.reg.number);
    Statement statement = row.kind == Row::Kind::Modify ? Statement::modify(reg, mask, value)
                                                        : Statement::write(reg, value);
    statement.comment = row.comment;
    builder_.command(Target{device_, {widths.addressBytes, static_cast<int>(valBits / 8)}},
                     std::move(statement));
    if (row.delayMs > 0) delay(row, {});
  }

  void delay(const Row& row, std::string comment) {
    if (row.delayMs > kLongestWaitMs) {
      problem(row.line, "a delay of " + std::to_string(row.delayMs) + " ms is longer than an hour");
      return;
    }
    builder_.delay(static_cast<std::uint32_t>(row.delayMs), std::move(comment));
  }

  bool fits(const Row& row, std::uint64_t number, unsigned bits, const char* what) {
    if (number <= largestOf(bits)) return true;
    problem(row.line, std::string(what) + " " + numconv::upperHex(number) + "h is too wide for " +
                          std::to_string(bits) + " bits");
    return false;
  }

  void problem(std::size_t line, std::string message) {
    result_.problems.push_back(Problem{fileName_, line, std::move(message)});
  }

  const std::string& fileName_;
  std::vector<TableWidths> widths_;
  std::uint8_t device_;
  ImportResult& result_;
  ScriptBuilder builder_;
};

bool hasCommands(const std::vector<Item>& items) {
  return std::any_of(items.begin(), items.end(), [](const Item& item) {
    const Row* row = std::get_if<Row>(&item);
    return row != nullptr && (row->kind == Row::Kind::Write || row->kind == Row::Kind::Modify);
  });
}

}  // namespace

ImportResult importCTable(std::string_view text, const std::string& fileName,
                          const ImportOptions& options) {
  ImportResult result;
  CTableReader reader(fileName, result);
  for (const csource::CodeLine& line : csource::codeLines(text)) reader.line(line);
  std::vector<Item> items = reader.take();
  if (hasCommands(items) && !options.device) {
    result.failed = true;
    result.problems.insert(result.problems.begin(),
                           Problem{fileName, 0,
                                   "a C table names no device: give its 8-bit write address "
                                   "(--device)"});
    return result;
  }
  ctable::WidthSettler settler(fileName, result.problems);
  std::vector<TableWidths> widths;
  for (std::size_t table = 0; table < reader.tables(); ++table) {
    widths.push_back(settler.settle(rowsOfTable(items, table), options));
  }
  CTableWriter writer(fileName, std::move(widths), options.device.value_or(0), result);
  for (const Item& item : items) writer.item(item);
  result.script = writer.take();
  std::stable_sort(result.problems.begin(), result.problems.end(),
                   [](const Problem& a, const Problem& b) { return a.line < b.line; });
  return result;
}

}  // namespace brelvion::scripts
