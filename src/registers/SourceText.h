#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/RuntimeError.h"

namespace brelvion::registers {

// Where in a file something was written, both counted from 1.
struct SourcePosition {
  int line = 1;
  int column = 1;
};

// The error for a file whose content is wrong: error 321, "FILE:LINE:COLUMN: what".
base::RuntimeError contentError(const std::string& file, SourcePosition at, const std::string& what);

// A number as descriptions and lists write it: decimal ("31"), or hex with "0x" in front
// or "h" behind ("0x1F", "1Fh"); up to 32 bits. Nothing for any other text.
std::optional<std::uint32_t> numberFromText(std::string_view text);

// Hex digits only ("1F", "B716"), up to 8 of them; nothing for any other text.
std::optional<std::uint32_t> hexFromText(std::string_view text);

// False for text that is not UTF-8 or holds a control character (a tab, and in
// multiLine texts a line break, are allowed).
bool plainText(std::string_view text, bool multiLine);

}  // namespace brelvion::registers
