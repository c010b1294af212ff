#pragma once

#include <cstdint>
#include <string>

namespace brelvion::numconv {

inline constexpr const char* kHexToDecimalSource = "Hex To Decimal Number";

// Hexadecimal text of up to 8 digits, blanks around it allowed, to 0..7FFFFFFF. Fails with
// RuntimeError 13 (empty, or not a hex digit) or 6 (too long, or too large), always with
// the source kHexToDecimalSource.
std::int32_t hexToDecimal(std::string text);

// One character to its digit value 0 to 15, either case; RuntimeError 13 otherwise.
std::int16_t checkedHexDigit(char ch);

}  // namespace brelvion::numconv
