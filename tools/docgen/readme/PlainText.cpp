#include "PlainText.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace brelvion::docgen {

namespace {

// The end of a link "[text](target)" whose '[' is at `open`: the ')' closing its target,
// with `textEnd` at the ']'; npos when the bracket opens no link.
std::size_t linkEnd(std::string_view text, std::size_t open, std::size_t& textEnd) {
  textEnd = text.find(']', open + 1);
  if (textEnd == std::string_view::npos || text.substr(textEnd, 2) != "](") {
    return std::string_view::npos;
  }
  return text.find(')', textEnd + 2);
}

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> result;
  std::size_t start = 0;
  while (start < text.size()) {
    if (text[start] == ' ') {
      ++start;
      continue;
    }
    std::size_t end = text.find(' ', start);
    if (end == std::string_view::npos) end = text.size();
    result.push_back(text.substr(start, end - start));
    start = end;
  }
  return result;
}

// Each cell's text wrapped to its column's width, a line a vector entry.
std::vector<std::string> cellLines(const std::string& cell, std::size_t width) {
  std::vector<std::string> lines;
  std::string line;
  for (std::string_view word : words(cell)) {
    if (!line.empty() && line.size() + 1 + word.size() > width) {
      lines.push_back(line);
      line.clear();
    }
    if (!line.empty()) line += ' ';
    line += word;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

constexpr std::string_view kTableIndent = "  ";
constexpr std::size_t kColumnGap = 2;
constexpr std::size_t kNarrowestColumn = 6;

std::vector<std::size_t> columnWidths(const std::vector<std::vector<std::string>>& rows) {
  std::vector<std::size_t> widths;
  for (const auto& row : rows) {
    widths.resize(std::max(widths.size(), row.size()), 0);
    for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
  }
  const std::size_t room = kTextWidth - kTableIndent.size() - kColumnGap * (widths.size() - 1);
  while (std::accumulate(widths.begin(), widths.end(), std::size_t{0}) > room) {
    auto widest = std::max_element(widths.begin(), widths.end());
    if (*widest <= kNarrowestColumn) break;
    --*widest;
  }
  return widths;
}

void appendRow(std::string& text, const std::vector<std::string>& row,
               const std::vector<std::size_t>& widths) {
  std::vector<std::vector<std::string>> cells;
  std::size_t height = 0;
  for (std::size_t i = 0; i < row.size(); ++i) {
    cells.push_back(cellLines(row[i], widths[i]));
    height = std::max(height, cells.back().size());
  }
  for (std::size_t line = 0; line < height; ++line) {
    std::string out(kTableIndent);
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (i > 0) out.append(kColumnGap, ' ');
      const std::string& part = line < cells[i].size() ? cells[i][line] : std::string();
      out += part;
      if (i + 1 < cells.size()) out.append(widths[i] - std::min(widths[i], part.size()), ' ');
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    text += out + '\n';
  }
}

}  // namespace

std::string plainInline(std::string_view markdown) {
  std::string text;
  for (std::size_t i = 0; i < markdown.size(); ++i) {
    const char c = markdown[i];
    if (c == '`') {
      const std::size_t end = markdown.find('`', i + 1);
      if (end == std::string_view::npos) continue;
      // Code that is punctuation alone (";", "-", "--") would vanish into the sentence.
      const std::string_view code = markdown.substr(i + 1, end - i - 1);
      const bool bare = code.find('"') == std::string_view::npos &&
                        std::none_of(code.begin(), code.end(), [](char k) {
                          return std::isalnum(static_cast<unsigned char>(k)) != 0;
                        });
      text += bare ? '"' + std::string(code) + '"' : std::string(code);
      i = end;
      continue;
    }
    if (c == '*' && i + 1 < markdown.size() && markdown[i + 1] == '*') {
      ++i;
      continue;
    }
    if (c == '\\' && i + 1 < markdown.size() && markdown[i + 1] == '|') continue;
    if (c == '[') {
      std::size_t textEnd = 0;
      const std::size_t end = linkEnd(markdown, i, textEnd);
      if (end != std::string_view::npos) {
        text += plainInline(markdown.substr(i + 1, textEnd - i - 1));
        i = end;
        continue;
      }
    }
    text += c;
  }
  return text;
}

std::string wrapText(std::string_view text, std::string_view first, std::string_view rest) {
  std::string result;
  std::string line(first);
  bool lineHasWord = false;
  for (std::string_view word : words(text)) {
    if (lineHasWord && line.size() + 1 + word.size() > kTextWidth) {
      result += line + '\n';
      line = rest;
      lineHasWord = false;
    }
    if (lineHasWord) line += ' ';
    line += word;
    lineHasWord = true;
  }
  result += line + '\n';
  return result;
}

std::string tableText(const std::vector<std::vector<std::string>>& rows) {
  if (rows.empty()) return {};
  const std::vector<std::size_t> widths = columnWidths(rows);
  std::string text;
  appendRow(text, rows.front(), widths);
  std::vector<std::string> rule;
  for (std::size_t width : widths) rule.emplace_back(width, '-');
  appendRow(text, rule, widths);
  for (std::size_t i = 1; i < rows.size(); ++i) appendRow(text, rows[i], widths);
  return text;
}

}  // namespace brelvion::docgen
