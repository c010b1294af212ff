#pragma once

#include <cstdint>
#include <string>

namespace brelvion::numconv {

// The value of a one- or two-character hexadecimal field. Never fails: texts that are not
// hexadecimal still give a number by the same character arithmetic, and a longer text
// counts only its last character. Texts are single-byte (Windows-1252) strings.
std::int16_t hexByteValue(std::string text);

}  // namespace brelvion::numconv
