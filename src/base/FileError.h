#pragma once

#include <string>
#include <string_view>

#include "base/RuntimeError.h"

namespace brelvion::base {

// The numbered error for a file operation that failed with the system's error code:
// "Cannot <action> <path>: <the system's reason>". A missing file is 53 when reading and a
// missing folder 76 when writing; no permission is 70, a full disk 61, a device that went
// away 68, anything else 75.
RuntimeError fileError(int errorCode, std::string_view action, const std::string& path,
                       std::string source);

}  // namespace brelvion::base
