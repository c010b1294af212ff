#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brelvion::desktop {

// The keys of a desktop file's [Desktop Entry] group that starting a program needs.
struct DesktopEntry {
  std::string type;
  std::string name;
  std::string exec;
  std::string tryExec;
  std::string icon;
  bool terminal = false;
  // Hidden=true means the entry was deleted, as if the file did not exist.
  bool hidden = false;
  std::filesystem::path location;
};

// Reads the [Desktop Entry] group of a desktop file; nothing when the file cannot be read
// or has no such group. Values have the string escapes (\s \n \t \r \\) undone; localised
// keys ("Name[de]") are ignored.
std::optional<DesktopEntry> readDesktopEntry(const std::filesystem::path& file);

// Splits a command line by the desktop files' rules: arguments separated by blanks, an
// argument may be quoted whole in double quotes, inside which a backslash escapes
// " ` $ and \. Nothing for an unterminated quote or a dangling backslash.
std::optional<std::vector<std::string>> splitCommandLine(const std::string& line);

// The argument vector (program first) that opens file with entry. The file is always
// exactly one argument: %f, %F, %u and %U become it (or vanish when file is empty), and
// when Exec names none of them the file is appended. %i becomes --icon and the icon,
// %c the name, %k the desktop file, %% a percent sign; other codes vanish. Nothing when
// Exec cannot be split or is empty.
std::optional<std::vector<std::string>> expandExec(const DesktopEntry& entry,
                                                   const std::string& file);

}  // namespace brelvion::desktop
