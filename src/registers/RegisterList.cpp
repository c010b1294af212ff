#include "registers/RegisterList.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "base/Text.h"
#include "registers/MapChecks.h"
#include "registers/SourceText.h"

namespace brelvion::registers {

namespace {

struct Cell {
  std::string text;
  SourcePosition at;
};

using Row = std::vector<Cell>;

// Splits text into rows of cells, keeping where each cell starts.
class CsvScanner {
 public:
  explicit CsvScanner(const std::string& text) : text_(text) {
    position_ = text_.size() - base::withoutByteOrderMark(text_).size();
    separator_ = guessSeparator();
  }

  bool done() const { return position_ >= text_.size(); }
  // The next row. A quoted cell that is never closed, or text after a closing quote, is
  // reported through problem instead.
  Row next(std::optional<Cell>& problem);

 private:
  char guessSeparator() const;
  bool atLineEnd() const { return text_[position_] == '\n' || text_[position_] == '\r'; }
  void skipLineEnd();
  Cell quotedCell(std::optional<Cell>& problem);
  Cell plainCell();
  SourcePosition here() const { return {line_, static_cast<int>(position_ - lineStart_) + 1}; }

  const std::string& text_;
  std::size_t position_ = 0;
  std::size_t lineStart_ = 0;
  int line_ = 1;
  char separator_ = ',';
};

char CsvScanner::guessSeparator() const {
  std::size_t counts[3] = {0, 0, 0};
  const char candidates[3] = {',', ';', '\t'};
  bool quoted = false;
  for (std::size_t i = position_; i < text_.size(); ++i) {
    const char ch = text_[i];
    if (ch == '"') quoted = !quoted;
    if (!quoted && (ch == '\n' || ch == '\r')) break;
    for (int k = 0; k < 3; ++k) counts[k] += !quoted && ch == candidates[k] ? 1 : 0;
  }
  const auto most = std::max_element(std::begin(counts), std::end(counts));
  return *most == 0 ? ',' : candidates[most - std::begin(counts)];
}

void CsvScanner::skipLineEnd() {
  if (text_[position_] == '\r' && position_ + 1 < text_.size() && text_[position_ + 1] == '\n') {
    ++position_;
  }
  ++position_;
  ++line_;
  lineStart_ = position_;
}

Cell CsvScanner::quotedCell(std::optional<Cell>& problem) {
  Cell cell{{}, here()};
  ++position_;
  while (position_ < text_.size()) {
    const char ch = text_[position_];
    if (ch == '"') {
      if (position_ + 1 < text_.size() && text_[position_ + 1] == '"') {
        cell.text += '"';
        position_ += 2;
        continue;
      }
      ++position_;
      // Blanks after the closing quote belong to nothing.
      while (position_ < text_.size() && text_[position_] == ' ') ++position_;
      return cell;
    }
    if (ch == '\r' || ch == '\n') {
      cell.text += '\n';
      skipLineEnd();
      continue;
    }
    cell.text += ch;
    ++position_;
  }
  problem = Cell{"a quoted cell is never closed", cell.at};
  return cell;
}

Cell CsvScanner::plainCell() {
  Cell cell{{}, here()};
  while (position_ < text_.size() && !atLineEnd() && text_[position_] != separator_) {
    cell.text += text_[position_++];
  }
  cell.text = base::trimmed(cell.text, " \t");
  return cell;
}

Row CsvScanner::next(std::optional<Cell>& problem) {
  Row row;
  while (true) {
    while (position_ < text_.size() && text_[position_] == ' ') ++position_;
    const bool quoted = position_ < text_.size() && text_[position_] == '"';
    row.push_back(quoted ? quotedCell(problem) : plainCell());
    if (problem || position_ >= text_.size()) return row;
    if (text_[position_] == separator_) {
      ++position_;
    } else if (atLineEnd()) {
      skipLineEnd();
      return row;
    } else {
      problem = Cell{"text after a quoted cell's closing quote", here()};
      return row;
    }
  }
}

std::string lowered(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  return text;
}

bool blankRow(const Row& row) {
  return std::all_of(row.begin(), row.end(), [](const Cell& cell) { return cell.text.empty(); });
}

class ListParser {
 public:
  explicit ListParser(const std::string& file) : file_(file) {}
  Register readRow(const Row& row) const;

 private:
  [[noreturn]] void fail(SourcePosition at, const std::string& what) const {
    throw contentError(file_, at, what);
  }
  std::uint32_t number(const Cell& cell, const char* what) const;

  const std::string& file_;
};

std::uint32_t ListParser::number(const Cell& cell, const char* what) const {
  const auto value = numberFromText(cell.text);
  if (!value) {
    fail(cell.at, std::string(what) + " wants a number (decimal, 0x1F or 1Fh) of up to 32 bits, not '" +
                      cell.text + "'");
  }
  return *value;
}

Register ListParser::readRow(const Row& row) const {
  if (row.size() > 6) {
    fail(row[6].at, "a row has six cells at most: address, name, width, access, default, description");
  }
  if (row.size() < 2 || row[1].text.empty()) {
    fail(row.size() < 2 ? row[0].at : row[1].at, "a row needs at least an address and a name");
  }
  Register reg;
  reg.address = number(row[0], "address");
  reg.name = row[1].text;
  if (!validName(reg.name)) {
    fail(row[1].at, "register name '" + reg.name +
                        "' is not a name (a letter or _, then letters, digits and _)");
  }
  if (row.size() > 2 && !row[2].text.empty()) {
    const std::uint32_t width = number(row[2], "width");
    if (auto problem = widthProblem(width)) fail(row[2].at, *problem);
    reg.valueBytes = static_cast<int>(width) / 8;
  }
  if (row.size() > 3 && !row[3].text.empty()) {
    const auto access = accessFromText(lowered(row[3].text));
    if (!access) fail(row[3].at, "access is rw, ro or wo, not '" + row[3].text + "'");
    reg.access = *access;
  }
  if (row.size() > 4 && !row[4].text.empty()) {
    reg.defaultValue = number(row[4], "default");
    if (auto problem = valueProblem("default", *reg.defaultValue, 8 * reg.valueBytes)) {
      fail(row[4].at, "register " + reg.name + ": " + *problem);
    }
  }
  if (row.size() > 5) {
    reg.description = row[5].text;
    if (!plainText(reg.description, true)) {
      fail(row[5].at, "the description holds a control character or text that is not UTF-8");
    }
  }
  return reg;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char ch : text) {
    if (ch == '"') out += '"';
    out += ch;
  }
  return out + "\"";
}

}  // namespace

RegisterMap readRegisterList(const std::string& text, const std::string& file) {
  CsvScanner scanner(text);
  ListParser parser(file);
  RegisterMap map;
  map.deviceName = std::filesystem::path(file).stem().string();
  std::vector<int> lines;
  bool first = true;
  while (!scanner.done()) {
    std::optional<Cell> problem;
    const Row row = scanner.next(problem);
    if (problem) throw contentError(file, problem->at, problem->text);
    if (blankRow(row) || row[0].text.rfind('#', 0) == 0) continue;
    const bool header = first && lowered(row[0].text) == "address";
    first = false;
    if (header) continue;
    map.registers.push_back(parser.readRow(row));
    lines.push_back(row[0].at.line);
  }
  if (map.registers.empty()) throw contentError(file, SourcePosition{}, "the list holds no registers");
  const bool wide = std::any_of(map.registers.begin(), map.registers.end(),
                                [](const Register& reg) { return reg.end() - 1 > 0xFF; });
  map.format.addressBytes = wide ? 2 : 1;
  for (std::size_t i = 0; i < map.registers.size(); ++i) {
    if (auto problem = placeProblem(map.registers[i], map.format.addressBytes)) {
      throw contentError(file, {lines[i], 1}, *problem);
    }
  }
  if (const auto clash = findClash(map.registers)) {
    throw contentError(
        file, {lines[clash->later], 1},
        clashText(*clash, map.registers, map.format.addressBytes, lines[clash->earlier]));
  }
  sortByAddress(map.registers);
  return map;
}

std::string registerListText(const RegisterMap& map) {
  std::string text = "address,name,width,access,default,description\n";
  for (const Register& reg : map.registers) {
    text += "0x" + addressHex(reg.address, map.format.addressBytes) + "," + reg.name + "," +
            std::to_string(8 * reg.valueBytes) + "," + std::string(accessText(reg.access)) + ",";
    if (reg.defaultValue) text += "0x" + valueHex(*reg.defaultValue, reg.valueBytes);
    text += "," + quoted(reg.description) + "\n";
  }
  return text;
}

}  // namespace brelvion::registers
