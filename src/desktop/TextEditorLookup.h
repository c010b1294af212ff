#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace brelvion::desktop {

// The environment variables the lookup reads (HOME, PATH, XDG_CONFIG_HOME, XDG_CONFIG_DIRS,
// XDG_DATA_HOME, XDG_DATA_DIRS, XDG_CURRENT_DESKTOP, VISUAL, EDITOR), passed in so that a
// test can describe a whole desktop with a few temporary folders.
using Environment = std::map<std::string, std::string>;

Environment currentEnvironment();

enum class EditorSource {
  // The application the desktop registers as the default for text/plain.
  MimeDefault,
  // $VISUAL or $EDITOR, naming a graphical program.
  EditorVariable,
  // A common graphical editor found on PATH.
  KnownEditor,
};

// A program to start directly, never through a shell: the file is exactly one of the
// arguments, whatever blanks or quotes its name holds.
struct EditorCommand {
  // Full path of the program, found on PATH.
  std::string program;
  std::vector<std::string> arguments;
  EditorSource source = EditorSource::MimeDefault;
};

// The graphical text editor to open file with (an empty file: the editor alone). In turn:
// - the default application for text/plain in the mimeapps.list files, in their order of
//   precedence, then the added associations and the desktop database (mimeinfo.cache),
//   leaving out removed associations; the desktop entry's Exec line gives the command;
// - $VISUAL, then $EDITOR, when it names a graphical program: one of the known graphical
//   editors, or a program that a desktop entry with Terminal=false starts;
// - the first of gedit, gnome-text-editor, kate, kwrite, mousepad, pluma, xed, featherpad,
//   geany and leafpad on PATH.
// Entries that run in a terminal, are hidden, or whose program is not installed are passed
// over. Nothing when no editor is found. A relative file name starting with "-" is given
// as "./name" so that no editor takes it for an option.
std::optional<EditorCommand> findTextEditor(const std::string& file, const Environment& env);

// findTextEditor on the process's own environment: the desktop's choice.
std::optional<EditorCommand> desktopTextEditorCommand(const std::string& file);

// How a window system finds the editor to start; desktopTextEditorCommand unless a test
// puts a lookup of its own in its place.
using TextEditorLookup = std::optional<EditorCommand> (*)(const std::string& file);

// The lookup paths, in precedence order, for tests and diagnostics.
std::vector<std::string> mimeappsListFiles(const Environment& env);
std::vector<std::string> applicationDirectories(const Environment& env);

// The full path of program on env's PATH (or program itself when it holds a "/" and is
// executable); nothing when not found.
std::optional<std::string> findOnPath(const std::string& program, const Environment& env);

}  // namespace brelvion::desktop
