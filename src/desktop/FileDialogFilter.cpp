#include "desktop/FileDialogFilter.h"

namespace brelvion::desktop {

namespace {

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The description without a trailing group of patterns such as "(*.TXT)": the toolkit
// shows the patterns itself. Other text in parentheses is part of the description.
std::string_view withoutPatternGroup(std::string_view description) {
  const std::string_view text = trimmed(description);
  if (text.empty() || text.back() != ')') return text;
  const std::size_t open = text.rfind('(');
  if (open == std::string_view::npos || open == 0) return text;
  const std::string_view group = text.substr(open);
  if (group.find_first_of("*?") == std::string_view::npos) return text;
  return trimmed(text.substr(0, open));
}

}  // namespace

std::vector<FileTypeFilter> parseFileDialogFilter(std::string_view filter) {
  std::vector<FileTypeFilter> entries;
  if (trimmed(filter).empty()) return entries;
  const std::vector<std::string_view> fields = split(filter, '|');
  for (std::size_t i = 0; i < fields.size(); i += 2) {
    FileTypeFilter entry{std::string(trimmed(fields[i])), {}};
    if (i + 1 < fields.size()) {
      for (std::string_view pattern : split(fields[i + 1], ';')) {
        if (!trimmed(pattern).empty()) entry.patterns.emplace_back(trimmed(pattern));
      }
    }
    if (entry.patterns.empty()) entry.patterns.emplace_back("*");
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::string nameFilterText(const FileTypeFilter& entry) {
  std::string text(withoutPatternGroup(entry.description));
  if (!text.empty()) text += ' ';
  text += '(';
  for (std::size_t i = 0; i < entry.patterns.size(); ++i) {
    if (i > 0) text += ' ';
    text += entry.patterns[i];
  }
  text += ')';
  return text;
}

}  // namespace brelvion::desktop
