#include "ShownArgument.h"

#include "numconv/HexText.h"

namespace brelvion::apps {

namespace {

// Longest argument echoed whole in an error; a pasted file is of no use on the terminal.
constexpr std::size_t kShownLength = 40;

void appendEscaped(std::string& shown, char character) {
  const auto ch = static_cast<unsigned char>(character);
  if (ch < 0x20 || ch == 0x7F) {
    shown += "\\x" + numconv::upperHex(ch, 2);
  } else {
    shown += character;
  }
}

}  // namespace

std::string escapeControls(std::string_view text) {
  std::string shown;
  for (char ch : text) appendEscaped(shown, ch);
  return shown;
}

std::string shownArgument(const std::string& text) {
  std::string shown;
  std::size_t used = 0;
  for (; used < text.size() && shown.size() < kShownLength; ++used) {
    appendEscaped(shown, text[used]);
  }
  if (used < text.size()) {
    // Not in the middle of a UTF-8 character: a lead byte without all its followers goes.
    std::size_t start = shown.size();
    while (start > 0 && (static_cast<unsigned char>(shown[start - 1]) & 0xC0) == 0x80) --start;
    if (start > 0) {
      const auto lead = static_cast<unsigned char>(shown[start - 1]);
      const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
      if (shown.size() - (start - 1) < length) shown.resize(start - 1);
    }
    shown += "...";
  }
  return "'" + shown + "'";
}

}  // namespace brelvion::apps
