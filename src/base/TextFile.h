#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

namespace brelvion::base {

// The one reader of the files users hand the tool: scripts, files to convert, register maps
// and snapshots, trace files.

// How large a file a reader takes. A larger one is refused with error 321,
// "<path>: larger than <maxBytes in MB> MB, too large for <what>".
struct FileSizeLimit {
  std::size_t maxBytes = std::numeric_limits<std::size_t>::max();
  // "a register map"
  std::string_view what;
};

// The whole of a file, byte for byte. Throws fileError naming the file and the system's
// reason, with source as the action that read it.
std::string readFileBytes(const std::string& path, const std::string& source,
                          const FileSizeLimit& limit = {});

// The same without a byte-order mark at its head: how every reader of text takes a file,
// since the mark is invisible in an editor.
std::string readTextFile(const std::string& path, const std::string& source,
                         const FileSizeLimit& limit = {});

}  // namespace brelvion::base
