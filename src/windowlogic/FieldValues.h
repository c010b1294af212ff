#pragma once

#include <cstdint>
#include <string>

#include "desktop/Desktop.h"

namespace brelvion::windowlogic {

inline constexpr const char* kAddressChangedTitle = "Address Changed";
inline constexpr const char* kSubAddressChangedTitle = "Sub Address Changed";

// value as a signed 16-bit integer; RuntimeError 6 (overflow) outside -32768..32767.
std::int16_t narrowToInt16(long long value, const char* source);

// The device- and sub-address fields: hexadecimal of up to 8 digits, narrowed to 16 bits.
// RuntimeError 13 for an empty or non-hex text, 6 for a value above 7FFF.
std::int16_t addressFieldValue(const std::string& text);

// Converts an address field into target. On failure shows the field's box (exclamation,
// "number: description", the given title), leaves target as it was and returns false, so
// that the window can put the focus back into the field.
bool applyAddressField(const std::string& text, std::int16_t& target, desktop::Desktop& desktop,
                       const char* title);

// Stores commandfiles::delayValue in target. On failure shows a box (information icon, default
// title) and leaves target as it was; returns whether it stored.
bool applyCommandDelay(const std::string& seconds, const std::string& fraction, double& target,
                       desktop::Desktop& desktop);

}  // namespace brelvion::windowlogic
