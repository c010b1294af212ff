#pragma once

#include <optional>
#include <string>

#include "base/RuntimeError.h"

namespace brelvion::apps {

// Whether a --capture file could be written at path, asked before a session starts: the
// capture is only written when the session ends, and a folder that does not exist would
// otherwise lose a whole session's recording. Looks as base::writeUserFile will write,
// without writing anything: "-" and an open descriptor (/dev/stdout, /dev/fd/N) are taken
// as they are, a symbolic link is followed to its target, a FIFO or device must be
// writable, and a regular file (new or not) needs a writable folder and, when it exists,
// write permission itself.
// The error writeUserFile would give ("Cannot write PATH: the system's reason", numbered
// as it numbers it), or nothing when the capture can be written there. Some failures can
// still only show at the end (a full disk, a file system that refuses what root may do).
std::optional<base::RuntimeError> captureTargetProblem(const std::string& path);

}  // namespace brelvion::apps
