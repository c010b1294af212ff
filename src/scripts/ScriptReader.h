#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "scripts/Problem.h"
#include "scripts/Script.h"

namespace brelvion::scripts {

// The file name of scripts, ".i2cs".
inline constexpr std::string_view kScriptExtension = ".i2cs";

// Whether a file is a script by its name: something before ".i2cs", in any case, at its end.
bool isScriptFileName(std::string_view path);

// The first word of line when it is one of the script's commands, in any case; empty when
// it is not. No command file's line starts so (its values are hex digits), which tells a
// script sent as a command file by its content.
std::string_view scriptCommandOf(std::string_view line);

// Where text shows itself a script by its content: its first line with a command on it
// (blank lines and comments skipped) starts with one of the script's commands.
struct ScriptStart {
  std::size_t line = 0;
  std::string command;
};
std::optional<ScriptStart> scriptStartOf(std::string_view text);

// Why file, a script by its content, is refused where a command file is wanted.
std::string scriptNotCommandFile(const std::string& file, const ScriptStart& start);

struct ReadResult {
  Script script;
  // Every problem of the file, in line order; the script is not to be run unless empty.
  Problems problems;

  bool ok() const { return problems.empty(); }
};

// Reads and checks a whole script before anything of it runs. One command a line, words
// between blanks, command names in any case; ';' starts a comment; blank lines are skipped;
// a line ends at CR LF, LF or CR. Registers, values, masks and the device are hex (an
// optional 0x), times and counts decimal. Each problem names fileName and its line: an
// unknown command, a missing or extra argument, a number that is not one, a register,
// value or mask too wide for the widths in effect, a width that is none of the allowed,
// a wait longer than an hour, a read count out of range, a read address as device, and a
// bus command before the first device line (once).
ReadResult readScript(std::string_view text, const std::string& fileName);

// The same for a file. Throws base::RuntimeError naming the file when it cannot be read.
ReadResult readScriptFile(const std::string& path);

}  // namespace brelvion::scripts
