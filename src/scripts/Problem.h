#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace brelvion::scripts {

// Something in a file that cannot be read or converted, where it is.
struct Problem {
  std::string file;
  // 0 where the problem is the file's as a whole.
  std::size_t line = 0;
  std::string message;

  // "FILE:LINE: message", or "FILE: message" without a line.
  std::string text() const;
};

using Problems = std::vector<Problem>;

}  // namespace brelvion::scripts
