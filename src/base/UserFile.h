#pragma once

#include <string>
#include <string_view>

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

}  // namespace brelvion::base
