#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/TextFile.h"

namespace brelvion::scripts {

// The lines of a text as the tool's readers take them: a line ends at CR LF, LF or CR (one
// end, not two), and the text after the last end is a line only when it is not empty. A
// byte-order mark at the head is no part of the first line.
// Line i of the result is line i + 1 of the file.
std::vector<std::string_view> splitLines(std::string_view text);

// The words of a line, split at blanks (spaces and tabs).
std::vector<std::string_view> splitWords(std::string_view line);

// text without blanks (spaces and tabs) at either end.
std::string_view trimBlanks(std::string_view text);

// Hex digits of either case, with an optional 0x or 0X before them. A number beyond 64
// bits gives the largest 64-bit value, so that a width check rejects it.
std::optional<std::uint64_t> parseHex(std::string_view text);
// Decimal digits alone, beyond 64 bits as parseHex.
std::optional<std::uint64_t> parseDecimal(std::string_view text);
// A number as C writes it: 0x for hex, a leading 0 for octal, else decimal, with the
// suffixes u and l of either case after it.
std::optional<std::uint64_t> parseCNumber(std::string_view text);

// The whole file without a byte-order mark; throws base::RuntimeError naming the file and
// the system's reason.
using base::readTextFile;

// A comment as one line: its line ends become blanks.
std::string oneLine(std::string_view comment);

// text with every letter in lower case (ASCII).
std::string lowerCase(std::string_view text);

}  // namespace brelvion::scripts
