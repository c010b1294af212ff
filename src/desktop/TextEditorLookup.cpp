#include "desktop/TextEditorLookup.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "base/Text.h"
#include "desktop/DesktopEntry.h"

namespace brelvion::desktop {

namespace {

namespace fs = std::filesystem;

constexpr const char* kMimeType = "text/plain";

// Tried in this order when the desktop names no editor.
constexpr std::array<const char*, 10> kFallbackEditors{
    "gedit", "gnome-text-editor", "kate",  "kwrite", "mousepad", "pluma",
    "xed",   "featherpad",        "geany", "leafpad"};

// Graphical editors $VISUAL or $EDITOR may name even where no desktop entry says so.
constexpr std::array<const char*, 7> kOtherGraphicalEditors{
    "gvim", "code", "codium", "subl", "sublime_text", "xedit", "nedit"};

// Editors that need a terminal, whatever a desktop entry of the same name claims.
constexpr std::array<const char*, 12> kTerminalEditors{
    "vi", "vim", "nvim", "view", "nano", "pico", "joe", "jed", "ed", "ex", "mcedit", "micro"};

template <std::size_t N>
bool contains(const std::array<const char*, N>& names, const std::string& name) {
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; });
}

std::string variable(const Environment& env, const std::string& name) {
  const auto found = env.find(name);
  return found == env.end() ? std::string() : found->second;
}

std::vector<std::string> splitList(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::stringstream stream(text);
  std::string part;
  while (std::getline(stream, part, separator)) {
    part = base::trimmed(part, " \t");
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

// A base directory variable, or its default under HOME; relative paths do not count.
std::optional<fs::path> homeDirectory(const Environment& env, const std::string& name,
                                      const char* underHome) {
  const fs::path set(variable(env, name));
  if (set.is_absolute()) return set;
  const fs::path home(variable(env, "HOME"));
  if (home.is_absolute()) return home / underHome;
  return std::nullopt;
}

std::vector<fs::path> directoryList(const Environment& env, const std::string& name,
                                    const char* fallback) {
  std::vector<fs::path> dirs;
  for (const std::string& dir : splitList(variable(env, name), ':')) {
    if (fs::path(dir).is_absolute()) dirs.emplace_back(dir);
  }
  if (dirs.empty()) {
    for (const std::string& dir : splitList(fallback, ':')) dirs.emplace_back(dir);
  }
  return dirs;
}

std::vector<fs::path> configDirectories(const Environment& env) {
  std::vector<fs::path> dirs;
  if (auto home = homeDirectory(env, "XDG_CONFIG_HOME", ".config")) dirs.push_back(*home);
  for (const fs::path& dir : directoryList(env, "XDG_CONFIG_DIRS", "/etc/xdg")) {
    dirs.push_back(dir);
  }
  return dirs;
}

std::vector<fs::path> applicationDirs(const Environment& env) {
  std::vector<fs::path> dirs;
  if (auto home = homeDirectory(env, "XDG_DATA_HOME", ".local/share")) {
    dirs.push_back(*home / "applications");
  }
  for (const fs::path& dir : directoryList(env, "XDG_DATA_DIRS", "/usr/local/share:/usr/share")) {
    dirs.push_back(dir / "applications");
  }
  return dirs;
}

struct MimeLists {
  std::vector<std::string> defaults;
  std::vector<std::string> added;
  std::vector<std::string> removed;
};

// The text/plain entries of one mimeapps.list (or mimeinfo.cache, whose group counts as
// added associations).
MimeLists readMimeLists(const fs::path& file) {
  MimeLists lists;
  std::ifstream in(file);
  std::vector<std::string>* group = nullptr;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      if (line == "[Default Applications]")
        group = &lists.defaults;
      else if (line == "[Added Associations]" || line == "[MIME Cache]")
        group = &lists.added;
      else if (line == "[Removed Associations]")
        group = &lists.removed;
      else
        group = nullptr;
      continue;
    }
    const auto equals = line.find('=');
    if (group == nullptr || equals == std::string::npos) continue;
    const auto keys = splitList(line.substr(0, equals), ' ');
    if (keys.size() != 1 || keys.front() != kMimeType) continue;
    for (const std::string& id : splitList(line.substr(equals + 1), ';')) group->push_back(id);
  }
  return lists;
}

// A desktop file ID names applications/foo-bar.desktop or applications/foo/bar.desktop.
std::optional<fs::path> resolveId(const fs::path& dir, const std::string& rest) {
  std::error_code error;
  if (fs::is_regular_file(dir / rest, error)) return dir / rest;
  for (std::size_t dash = rest.find('-'); dash != std::string::npos;
       dash = rest.find('-', dash + 1)) {
    const fs::path sub = dir / rest.substr(0, dash);
    if (!fs::is_directory(sub, error)) continue;
    if (auto found = resolveId(sub, rest.substr(dash + 1))) return found;
  }
  return std::nullopt;
}

std::string safeFileArgument(const std::string& file) {
  if (!file.empty() && file.front() == '-') return "./" + file;
  return file;
}

// The command of an entry that can open the file without a terminal, if it is installed.
std::optional<EditorCommand> commandFromEntry(const DesktopEntry& entry, const std::string& file,
                                              const Environment& env) {
  if (entry.hidden || entry.terminal) return std::nullopt;
  if (!entry.type.empty() && entry.type != "Application") return std::nullopt;
  if (!entry.tryExec.empty() && !findOnPath(entry.tryExec, env)) return std::nullopt;
  auto argv = expandExec(entry, file);
  if (!argv) return std::nullopt;
  const auto program = findOnPath(argv->front(), env);
  if (!program) return std::nullopt;
  argv->erase(argv->begin());
  return EditorCommand{*program, std::move(*argv), EditorSource::MimeDefault};
}

std::optional<EditorCommand> commandFromId(const std::string& id, const std::string& file,
                                           const Environment& env) {
  for (const fs::path& dir : applicationDirs(env)) {
    const auto path = resolveId(dir, id);
    if (!path) continue;
    // The first file found is the entry, even when it hides or breaks one further down.
    const auto entry = readDesktopEntry(*path);
    return entry ? commandFromEntry(*entry, file, env) : std::nullopt;
  }
  return std::nullopt;
}

std::optional<EditorCommand> mimeDefault(const std::string& file, const Environment& env) {
  std::vector<std::string> associated;
  std::set<std::string> removed;
  for (const std::string& list : mimeappsListFiles(env)) {
    const MimeLists lists = readMimeLists(list);
    for (const std::string& id : lists.defaults) {
      if (auto command = commandFromId(id, file, env)) return command;
    }
    for (const std::string& id : lists.added) {
      if (!removed.count(id)) associated.push_back(id);
    }
    removed.insert(lists.removed.begin(), lists.removed.end());
  }
  for (const fs::path& dir : applicationDirs(env)) {
    for (const std::string& id : readMimeLists(dir / "mimeinfo.cache").added) {
      if (!removed.count(id)) associated.push_back(id);
    }
  }
  for (const std::string& id : associated) {
    if (auto command = commandFromId(id, file, env)) return command;
  }
  return std::nullopt;
}

// Whether some desktop entry starts program (by its base name) outside a terminal.
bool hasWindowedEntry(const std::string& program, const Environment& env) {
  for (const fs::path& dir : applicationDirs(env)) {
    std::error_code error;
    fs::recursive_directory_iterator it(dir, error), end;
    for (; !error && it != end; it.increment(error)) {
      if (it->path().extension() != ".desktop") continue;
      const auto entry = readDesktopEntry(it->path());
      if (!entry || entry->hidden || entry->terminal) continue;
      const auto argv = splitCommandLine(entry->exec);
      if (argv && !argv->empty() && fs::path(argv->front()).filename() == program) return true;
    }
  }
  return false;
}

std::optional<EditorCommand> editorVariable(const std::string& name, const std::string& file,
                                            const Environment& env) {
  auto words = splitCommandLine(variable(env, name));
  if (!words || words->empty()) return std::nullopt;
  const std::string base = fs::path(words->front()).filename().string();
  if (contains(kTerminalEditors, base)) return std::nullopt;
  for (const std::string& word : *words) {
    if (word == "-nw" || word == "--no-window-system") return std::nullopt;
  }
  const bool graphical = contains(kFallbackEditors, base) ||
                         contains(kOtherGraphicalEditors, base) || hasWindowedEntry(base, env);
  if (!graphical) return std::nullopt;
  const auto program = findOnPath(words->front(), env);
  if (!program) return std::nullopt;
  std::vector<std::string> arguments(words->begin() + 1, words->end());
  if (!file.empty()) arguments.push_back(file);
  return EditorCommand{*program, std::move(arguments), EditorSource::EditorVariable};
}

std::optional<EditorCommand> knownEditor(const std::string& file, const Environment& env) {
  for (const char* name : kFallbackEditors) {
    if (auto program = findOnPath(name, env)) {
      std::vector<std::string> arguments;
      if (!file.empty()) arguments.push_back(file);
      return EditorCommand{*program, std::move(arguments), EditorSource::KnownEditor};
    }
  }
  return std::nullopt;
}

bool isExecutableFile(const fs::path& path) {
  std::error_code error;
  return fs::is_regular_file(path, error) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

Environment currentEnvironment() {
  Environment env;
  for (const char* name : {"HOME", "PATH", "XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME",
                           "XDG_DATA_DIRS", "XDG_CURRENT_DESKTOP", "VISUAL", "EDITOR"}) {
    if (const char* value = std::getenv(name)) env[name] = value;
  }
  return env;
}

std::vector<std::string> mimeappsListFiles(const Environment& env) {
  std::vector<std::string> desktops;
  for (std::string desktop : splitList(variable(env, "XDG_CURRENT_DESKTOP"), ':')) {
    std::transform(desktop.begin(), desktop.end(), desktop.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    desktops.push_back(desktop);
  }
  std::vector<fs::path> dirs = configDirectories(env);
  for (const fs::path& dir : applicationDirs(env)) dirs.push_back(dir);
  std::vector<std::string> files;
  for (const fs::path& dir : dirs) {
    for (const std::string& desktop : desktops) {
      files.push_back((dir / (desktop + "-mimeapps.list")).string());
    }
    files.push_back((dir / "mimeapps.list").string());
  }
  return files;
}

std::vector<std::string> applicationDirectories(const Environment& env) {
  std::vector<std::string> dirs;
  for (const fs::path& dir : applicationDirs(env)) dirs.push_back(dir.string());
  return dirs;
}

std::optional<std::string> findOnPath(const std::string& program, const Environment& env) {
  if (program.empty()) return std::nullopt;
  if (program.find('/') != std::string::npos) {
    if (isExecutableFile(program)) return program;
    return std::nullopt;
  }
  // An empty PATH entry would mean the current directory: never start a program from there.
  for (const std::string& dir : splitList(variable(env, "PATH"), ':')) {
    if (!fs::path(dir).is_absolute()) continue;
    const fs::path candidate = fs::path(dir) / program;
    if (isExecutableFile(candidate)) return candidate.string();
  }
  return std::nullopt;
}

std::optional<EditorCommand> findTextEditor(const std::string& file, const Environment& env) {
  const std::string argument = safeFileArgument(file);
  if (auto command = mimeDefault(argument, env)) return command;
  for (const char* name : {"VISUAL", "EDITOR"}) {
    if (auto command = editorVariable(name, argument, env)) return command;
  }
  return knownEditor(argument, env);
}

std::optional<EditorCommand> desktopTextEditorCommand(const std::string& file) {
  return findTextEditor(file, currentEnvironment());
}

}  // namespace brelvion::desktop
