#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/RuntimeError.h"

namespace brelvion::base {

// The one way the program writes a file for a user (captures, trace files, dumps):
// - a regular file, or a name that does not exist yet, is replaced only by the complete
//   content: it is written under a unique temporary name beside it and renamed over it,
//   keeping an existing file's mode (and owner, where allowed);
// - a symbolic link is followed, and its target is what gets replaced;
// - anything else (a FIFO, a character device such as /dev/null) is written in place;
// - "-" is standard output, and /dev/stdout, /dev/stderr and /dev/fd/N are written to those
//   descriptors as they stand (so a redirected standard output keeps what came before);
// - an existing file the user may not write is refused, as opening it would be.
// A reader of a FIFO or pipe that went away gives an error, not SIGPIPE.
// Throws RuntimeError naming the file and the system's reason when anything fails; the
// target is then untouched (or, for a FIFO or device, holds what got through).
void writeUserFile(const std::string& path, std::string_view content, const std::string& source);

// The error writeUserFile would give at path, looked at beforehand without writing anything
// (so that a session recorded for an hour is not lost at its end to a folder that does not
// exist): nothing when it can be written there. Some failures still only show when writing
// (a full disk, a file system that refuses what root may do).
std::optional<RuntimeError> userFileProblem(const std::string& path, const std::string& source);

}  // namespace brelvion::base
