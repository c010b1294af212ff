#pragma once

#include <string>
#include <string_view>

namespace brelvion::base {

// The blank of the entry fields and the command files: the space alone.
inline constexpr std::string_view kBlank = " ";

// text without the characters of blanks at either end.
std::string trimmed(std::string_view text, std::string_view blanks = kBlank);

}  // namespace brelvion::base
