#pragma once

#include <string>
#include <string_view>

namespace brelvion::base {

// The blank of the entry fields and the command files: the space alone.
inline constexpr std::string_view kBlank = " ";

// text without the characters of blanks at either end.
std::string trimmed(std::string_view text, std::string_view blanks = kBlank);

// The UTF-8 byte-order mark some editors put at the head of a text file.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// text without a byte-order mark at its head: every reader of a text file takes it so, since
// the mark is invisible in an editor and in any message that quotes the first line.
inline std::string_view withoutByteOrderMark(std::string_view text) {
  return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

}  // namespace brelvion::base
