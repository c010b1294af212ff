#include "scripts/CSource.h"

#include "scripts/TextLines.h"

namespace brelvion::scripts::csource {

namespace {

bool isNameStart(char ch) {
  return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == '_';
}
bool isNameChar(char ch) { return isNameStart(ch) || (ch >= '0' && ch <= '9'); }

bool isName(std::string_view text) {
  if (text.empty() || !isNameStart(text[0])) return false;
  for (const char ch : text) {
    if (!isNameChar(ch)) return false;
  }
  return true;
}

// A comment's text without the stars that frame block comments.
void appendComment(CodeLine& line, std::string_view text) {
  std::string_view trimmed = trimBlanks(text);
  while (!trimmed.empty() && trimmed.front() == '*') trimmed = trimBlanks(trimmed.substr(1));
  while (!trimmed.empty() && trimmed.back() == '*') trimmed = trimBlanks(trimmed.substr(0, trimmed.size() - 1));
  if (trimmed.empty()) return;
  if (!line.comment.empty()) line.comment += ' ';
  line.comment.append(trimmed);
}

// The fields of a row's inside, split at commas outside parentheses; a trailing comma
// leaves no empty field.
std::vector<std::string> splitFields(std::string_view inside) {
  std::vector<std::string> fields;
  int depth = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= inside.size(); ++i) {
    const char ch = i < inside.size() ? inside[i] : ',';
    if (ch == '(') ++depth;
    if (ch == ')') --depth;
    if (ch != ',' || depth > 0) continue;
    std::string_view field = trimBlanks(inside.substr(start, i - start));
    // A designator: ".reg = 0x0100".
    if (!field.empty() && field[0] == '.') {
      const std::size_t equals = field.find('=');
      if (equals != std::string_view::npos) field = trimBlanks(field.substr(equals + 1));
    }
    if (!field.empty() || i < inside.size()) fields.emplace_back(field);
    start = i + 1;
  }
  return fields;
}

}  // namespace

std::vector<CodeLine> codeLines(std::string_view text) {
  std::vector<CodeLine> lines;
  bool inBlock = false;
  const std::vector<std::string_view> raw = splitLines(text);
  for (std::size_t n = 0; n < raw.size(); ++n) {
    const std::string_view line = raw[n];
    CodeLine out;
    out.number = n + 1;
    std::size_t i = 0;
    while (i < line.size()) {
      if (inBlock) {
        const std::size_t end = line.find("*/", i);
        appendComment(out, line.substr(i, end == std::string_view::npos ? end : end - i));
        if (end == std::string_view::npos) break;
        inBlock = false;
        out.code += ' ';
        i = end + 2;
      } else if (line.compare(i, 2, "/*") == 0) {
        inBlock = true;
        i += 2;
      } else if (line.compare(i, 2, "//") == 0) {
        appendComment(out, line.substr(i + 2));
        break;
      } else {
        out.code += line[i++];
      }
    }
    lines.push_back(std::move(out));
  }
  return lines;
}

std::optional<std::vector<std::vector<std::string>>> rowsOf(std::string_view code, std::string* why) {
  std::vector<std::vector<std::string>> rows;
  std::size_t i = 0;
  while (i < code.size()) {
    const char ch = code[i];
    if (ch == ' ' || ch == '\t' || ch == ',') {
      ++i;
      continue;
    }
    if (ch != '{') {
      *why = "'" + std::string(trimBlanks(code.substr(i))) + "' is not a row of a register table";
      return std::nullopt;
    }
    const std::size_t close = code.find('}', i);
    if (close == std::string_view::npos) {
      *why = "a row that does not end on its line";
      return std::nullopt;
    }
    if (code.find('{', i + 1) < close) {
      *why = "a row inside a row";
      return std::nullopt;
    }
    rows.push_back(splitFields(code.substr(i + 1, close - i - 1)));
    i = close + 1;
  }
  return rows;
}

std::optional<Field> parseField(std::string_view text) {
  Field field;
  field.text = std::string(text);
  if (const auto number = parseCNumber(text)) {
    field.number = *number;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
      std::size_t digits = 2;
      while (digits < text.size() && text[digits] != 'u' && text[digits] != 'U' &&
             text[digits] != 'l' && text[digits] != 'L') {
        ++digits;
      }
      field.hexDigits = static_cast<unsigned>(digits - 2);
    }
    return field;
  }
  const std::size_t open = text.find('(');
  if (open != std::string_view::npos && text.back() == ')') {
    const std::string macro = lowerCase(trimBlanks(text.substr(0, open)));
    const std::string_view inside = trimBlanks(text.substr(open + 1, text.size() - open - 2));
    for (const unsigned bits : {8u, 16u, 24u, 32u, 64u}) {
      const std::string name = "cci_reg" + std::to_string(bits);
      if (macro != name && macro != name + "_le") continue;
      const std::optional<Field> inner = parseField(inside);
      if (!inner || inner->kind != Field::Kind::Number) return std::nullopt;
      field = *inner;
      field.text = std::string(text);
      field.kind = Field::Kind::Cci;
      field.cciBits = bits;
      field.littleEndian = macro.size() > name.size();
      return field;
    }
    return std::nullopt;
  }
  if (!isName(text)) return std::nullopt;
  field.kind = Field::Kind::Name;
  field.name = std::string(text);
  return field;
}

std::optional<Declaration> declarationOf(std::string_view code) {
  const std::size_t brackets = code.find('[');
  const std::size_t equals = code.find('=');
  const std::size_t brace = code.find('{');
  if (brackets == std::string_view::npos || equals == std::string_view::npos ||
      brace == std::string_view::npos || !(brackets < equals && equals < brace)) {
    return std::nullopt;
  }
  const std::size_t closing = code.find(']', brackets);
  if (closing == std::string_view::npos || closing > equals ||
      !trimBlanks(code.substr(closing + 1, equals - closing - 1)).empty() ||
      !trimBlanks(code.substr(equals + 1, brace - equals - 1)).empty()) {
    return std::nullopt;
  }
  const std::string_view before = trimBlanks(code.substr(0, brackets));
  std::size_t start = before.size();
  while (start > 0 && isNameChar(before[start - 1])) --start;
  const std::string_view name = before.substr(start);
  if (!isName(name)) return std::nullopt;
  return Declaration{std::string(name), std::string(code.substr(brace + 1))};
}

}  // namespace brelvion::scripts::csource
