#pragma once

#include <optional>
#include <string>

#include "registers/SourceText.h"

namespace brelvion::registers {

struct NestingProblem {
  SourcePosition at;
  std::string what;
};

// Where YAML text first nests deeper than a description would: brackets and braces inside
// each other, or a line indented (with its "- " and "? " entries) too far. A description
// nests five levels deep (the description, registers, a register, fields, values);
// yaml-cpp follows nesting by recursion, and text nested hundreds of levels deep costs it
// stack and memory out of all proportion, so such text is refused before it parses.
std::optional<NestingProblem> nestingProblem(const std::string& text);

}  // namespace brelvion::registers
