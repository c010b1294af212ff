#pragma once

#include <string>
#include <string_view>

#include "scripts/Problem.h"
#include "scripts/Script.h"

namespace brelvion::scripts {

// The file name of scripts, ".i2cs".
inline constexpr std::string_view kScriptExtension = ".i2cs";

// Whether a file is a script by its name: something before ".i2cs" at its end.
inline bool isScriptFileName(std::string_view path) {
  return path.size() > kScriptExtension.size() && path.ends_with(kScriptExtension);
}

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
