#include "MarkdownText.h"

#include <algorithm>
#include <stdexcept>

#include "PlainText.h"

namespace brelvion::docgen {

namespace {

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return lines;
}

bool isBlank(std::string_view line) { return line.find_first_not_of(' ') == std::string_view::npos; }
bool startsWith(std::string_view line, std::string_view head) { return line.substr(0, head.size()) == head; }

std::size_t headingLevel(std::string_view line) {
  const std::size_t hashes = line.find_first_not_of('#');
  if (hashes == 0 || hashes == std::string_view::npos || line[hashes] != ' ') return 0;
  return hashes;
}

// The nesting of a "- " list item (0 at the margin, 1 under two blanks, ...), or -1.
int listLevel(std::string_view line) {
  const std::size_t indent = line.find_first_not_of(' ');
  if (indent == std::string_view::npos || indent % 2 != 0) return -1;
  return startsWith(line.substr(indent), "- ") ? static_cast<int>(indent / 2) : -1;
}

bool startsBlock(std::string_view line) {
  return headingLevel(line) > 0 || startsWith(line, "|") || listLevel(line) >= 0 ||
         startsWith(line, "<!--") || startsWith(line, "![");
}

std::vector<std::string> tableCells(std::string_view row) {
  std::vector<std::string> cells;
  std::string cell;
  for (std::size_t i = 1; i < row.size(); ++i) {
    if (row[i] == '\\' && i + 1 < row.size() && row[i + 1] == '|') {
      cell += "\\|";
      ++i;
    } else if (row[i] == '|') {
      cells.push_back(plainInline(cell));
      cell.clear();
    } else {
      cell += row[i];
    }
  }
  for (std::string& text : cells) {
    text.erase(0, text.find_first_not_of(' '));
    text.erase(text.find_last_not_of(' ') + 1);
  }
  return cells;
}

// Turns one page into text block by block; each method takes the lines of its block from
// `at` on and leaves `at` after them.
class Converter {
 public:
  Converter(std::string_view markdown, std::vector<Insert>& inserts)
      : lines_(splitLines(markdown)), inserts_(inserts) {}

  // The page's blocks; with `opening`, only those before the first picture or section.
  std::string run(int chapter, bool opening) {
    chapter_ = chapter;
    while (at_ < lines_.size()) {
      const std::string_view line = lines_[at_];
      if (isBlank(line)) {
        ++at_;
      } else if (opening && (startsWith(line, "![") || headingLevel(line) > 1)) {
        break;
      } else if (headingLevel(line) > 0) {
        heading(opening);
      } else if (startsWith(line, "<!--")) {
        comment();
      } else if (startsWith(line, "![")) {
        ++at_;
      } else if (startsWith(line, "    ")) {
        indented();
      } else if (startsWith(line, "|")) {
        table();
      } else if (listLevel(line) >= 0) {
        list();
      } else {
        paragraph();
      }
    }
    return text_;
  }

 private:
  void block(const std::string& text) {
    if (!text_.empty()) text_ += '\n';
    text_ += text;
  }

  void heading(bool opening) {
    const std::size_t hashes = headingLevel(lines_[at_]);
    const std::size_t level = std::min<std::size_t>(hashes, 3);
    std::string title = plainInline(lines_[at_++].substr(hashes + 1));
    if (opening) {
      block(title + '\n' + std::string(title.size(), '=') + '\n');
      return;
    }
    ++numbers_[level - 1];
    for (std::size_t deeper = level; deeper < 3; ++deeper) numbers_[deeper] = 0;
    std::string number = std::to_string(chapter_);
    for (std::size_t i = 1; i < level; ++i) number += '.' + std::to_string(numbers_[i]);
    title = number + (level == 1 ? ". " : " ") + title;
    if (level == 1) title += '\n' + std::string(title.size(), '-');
    block(title + '\n');
  }

  void comment() {
    std::string_view line = lines_[at_];
    while (line.find("-->") == std::string_view::npos && at_ + 1 < lines_.size()) {
      line = lines_[++at_];
    }
    const std::string_view whole = lines_[at_++];
    const std::size_t open = whole.find('@');
    if (open == std::string_view::npos) return;
    const std::string marker(whole.substr(open, whole.find('@', open + 1) + 1 - open));
    for (Insert& insert : inserts_) {
      if (insert.marker != marker) continue;
      block(insert.text);
      insert.used = true;
      return;
    }
    throw std::runtime_error("no text for the marker " + marker);
  }

  // A block indented by four blanks, as it stands; blank lines inside it are kept.
  void indented() {
    std::size_t end = at_;
    for (std::size_t i = at_; i < lines_.size(); ++i) {
      if (isBlank(lines_[i])) continue;
      if (!startsWith(lines_[i], "    ")) break;
      end = i + 1;
    }
    std::string text;
    for (; at_ < end; ++at_) text += (isBlank(lines_[at_]) ? std::string() : std::string(lines_[at_])) + '\n';
    block(text);
  }

  void table() {
    std::vector<std::vector<std::string>> rows;
    for (; at_ < lines_.size() && startsWith(lines_[at_], "|"); ++at_) {
      if (!startsWith(lines_[at_], "|---")) rows.push_back(tableCells(lines_[at_]));
    }
    block(tableText(rows));
  }

  void list() {
    std::string text;
    while (at_ < lines_.size() && listLevel(lines_[at_]) >= 0) {
      const int level = listLevel(lines_[at_]);
      std::string item(lines_[at_++].substr(static_cast<std::size_t>(level) * 2 + 2));
      while (at_ < lines_.size() && !isBlank(lines_[at_]) && !startsBlock(lines_[at_])) {
        item += ' ';
        item += lines_[at_++];
      }
      const std::string indent(2 + static_cast<std::size_t>(level) * 2, ' ');
      text += wrapText(plainInline(item), indent + "- ", indent + "  ");
    }
    block(text);
  }

  void paragraph() {
    std::string text(lines_[at_++]);
    while (at_ < lines_.size() && !isBlank(lines_[at_]) && !startsBlock(lines_[at_])) {
      text += ' ';
      text += lines_[at_++];
    }
    block(wrapText(plainInline(text), "", ""));
  }

  std::vector<std::string_view> lines_;
  std::vector<Insert>& inserts_;
  std::size_t at_ = 0;
  int chapter_ = 0;
  int numbers_[3] = {};
  std::string text_;
};

}  // namespace

std::string chapterText(std::string_view markdown, int chapter, std::vector<Insert>& inserts) {
  return Converter(markdown, inserts).run(chapter, false);
}

std::string openingText(std::string_view readme) {
  std::vector<Insert> none;
  return Converter(readme, none).run(0, true);
}

}  // namespace brelvion::docgen
