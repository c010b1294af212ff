#pragma once

#include <cstdint>
#include <string>

namespace brelvion::numconv {

// value in upper-case hexadecimal, zero-padded to at least minDigits: the form bytes and
// port addresses take in trace lines, messages and output.
std::string UpperHex(std::uint64_t value, int minDigits = 1);

}  // namespace brelvion::numconv
