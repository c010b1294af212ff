#include "desktop/DesktopEntry.h"

#include <fstream>
#include <utility>

#include "base/Text.h"

namespace brelvion::desktop {

namespace {

std::string trim(const std::string& text) { return base::trimmed(text, " \t\r"); }

// The escapes of the desktop files' string values.
std::string unescapeValue(const std::string& value) {
  std::string out;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 == value.size()) {
      out += value[i];
      continue;
    }
    const char next = value[++i];
    switch (next) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        // Not a value escape: it belongs to the Exec quoting, which splitCommandLine undoes.
        out += '\\';
        out += next;
    }
  }
  return out;
}

void applyKey(DesktopEntry& entry, const std::string& key, const std::string& value) {
  if (key == "Type")
    entry.type = value;
  else if (key == "Name")
    entry.name = value;
  else if (key == "Exec")
    entry.exec = value;
  else if (key == "TryExec")
    entry.tryExec = value;
  else if (key == "Icon")
    entry.icon = value;
  else if (key == "Terminal")
    entry.terminal = value == "true";
  else if (key == "Hidden")
    entry.hidden = value == "true";
}

// Expands the codes inside one argument; sets fileUsed when the file went in.
std::string expandCodes(const std::string& argument, const DesktopEntry& entry,
                        const std::string& file, bool& fileUsed) {
  std::string out;
  for (std::size_t i = 0; i < argument.size(); ++i) {
    if (argument[i] != '%' || i + 1 == argument.size()) {
      out += argument[i];
      continue;
    }
    const char code = argument[++i];
    switch (code) {
      case '%':
        out += '%';
        break;
      case 'f':
      case 'F':
      case 'u':
      case 'U':
        out += file;
        fileUsed = true;
        break;
      case 'c':
        out += entry.name;
        break;
      case 'k':
        out += entry.location.string();
        break;
      default:
        break;  // deprecated or unknown codes are removed
    }
  }
  return out;
}

}  // namespace

std::optional<DesktopEntry> readDesktopEntry(const std::filesystem::path& file) {
  std::ifstream in(file);
  if (!in) return std::nullopt;
  DesktopEntry entry;
  entry.location = file;
  bool inGroup = false;
  bool seenGroup = false;
  std::string line;
  while (std::getline(in, line)) {
    line = trim(line);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      inGroup = line == "[Desktop Entry]";
      seenGroup = seenGroup || inGroup;
      continue;
    }
    if (!inGroup) continue;
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    applyKey(entry, trim(line.substr(0, equals)), unescapeValue(trim(line.substr(equals + 1))));
  }
  if (!seenGroup) return std::nullopt;
  return entry;
}

std::optional<std::vector<std::string>> splitCommandLine(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"') {
        quoted = false;
      } else if (c == '\\') {
        if (i + 1 == line.size()) return std::nullopt;
        word += line[++i];
      } else {
        word += c;
      }
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      inWord = true;
      if (c == '"')
        quoted = true;
      else
        word += c;
    }
  }
  if (quoted) return std::nullopt;
  if (inWord) words.push_back(word);
  return words;
}

std::optional<std::vector<std::string>> expandExec(const DesktopEntry& entry,
                                                   const std::string& file) {
  const auto words = splitCommandLine(entry.exec);
  if (!words || words->empty()) return std::nullopt;
  // The program itself must be named, never produced by a code (the file would run).
  if (words->front().find('%') != std::string::npos) return std::nullopt;
  std::vector<std::string> argv;
  bool fileUsed = false;
  for (const std::string& word : *words) {
    if (word == "%f" || word == "%F" || word == "%u" || word == "%U") {
      if (!file.empty()) argv.push_back(file);
      fileUsed = true;
    } else if (word == "%i") {
      if (!entry.icon.empty()) argv.insert(argv.end(), {"--icon", entry.icon});
    } else {
      std::string expanded = expandCodes(word, entry, file, fileUsed);
      // A code standing alone that expands to nothing leaves no empty argument behind.
      const bool loneCode = word.size() == 2 && word[0] == '%' && word[1] != '%';
      if (!(loneCode && expanded.empty())) argv.push_back(std::move(expanded));
    }
  }
  if (argv.empty() || argv.front().empty()) return std::nullopt;
  if (!fileUsed && !file.empty()) argv.push_back(file);
  return argv;
}

}  // namespace brelvion::desktop
