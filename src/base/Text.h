#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brelvion::base {

// The blank of the entry fields and the command files: the space alone.
inline constexpr std::string_view kBlank = " ";

// text without the characters of blanks at either end.
std::string trimmed(std::string_view text, std::string_view blanks = kBlank);

// The number of a device node or entry named prefix and a number, such as "gpiochip3" or
// "parport0": decimal digits alone after the prefix, one to maxDigits of them. Nothing for
// any other name (a settings entry beside the devices, say).
std::optional<unsigned> numberAfterPrefix(std::string_view name, std::string_view prefix,
                                          std::size_t maxDigits);

// The UTF-8 byte-order mark some editors put at the head of a text file.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// text without a byte-order mark at its head: every reader of a text file takes it so, since
// the mark is invisible in an editor and in any message that quotes the first line.
inline std::string_view withoutByteOrderMark(std::string_view text) {
  return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

}  // namespace brelvion::base
