#pragma once

#include <string>
#include <string_view>

namespace brelvion::apps {

// An argument as an error message echoes it: in single quotes, control characters as \xNN,
// and cut to a readable length without splitting a UTF-8 character.
std::string shownArgument(const std::string& text);

// text with control characters as \xNN, for messages that carry a user's file name.
std::string escapeControls(std::string_view text);

}  // namespace brelvion::apps
