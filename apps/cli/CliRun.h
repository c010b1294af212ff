#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace brelvion::cli {

inline constexpr int kExitAcknowledged = 0;
inline constexpr int kExitNotAcknowledged = 1;
inline constexpr int kExitUsageOrPortError = 2;

// The whole companion program: args without the program name. root is where /dev and
// /proc are looked for when choosing a backend.
int runCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const std::filesystem::path& root = "/");

}  // namespace brelvion::cli
