#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace brelvion::testing {

// A trace line written out as the trace holds it, followed by a '|' that marks where it
// ends, so that the blanks padding it to 50 characters show in the test's source:
//   "Wisp MSG002:  Generating STOP on bus              |"
inline std::string markedLine(std::string_view marked) {
  EXPECT_FALSE(marked.empty() || marked.back() != '|') << "no end mark: " << marked;
  return std::string(marked.substr(0, marked.size() - 1));
}

inline std::vector<std::string> markedLines(std::initializer_list<std::string_view> marked) {
  std::vector<std::string> lines;
  for (std::string_view line : marked) lines.push_back(markedLine(line));
  return lines;
}

}  // namespace brelvion::testing
