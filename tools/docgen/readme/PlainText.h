// Plain text for the help document: the user guide's Markdown as a text editor shows it,
// wrapped to the width of the companion's --help.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brelvion::docgen {

inline constexpr std::size_t kTextWidth = 76;

// The text of one line of Markdown without its inline markup: `code` and **bold** lose
// their marks (code of punctuation alone is put in double quotes), a link keeps its text,
// an escaped \| is a bar.
std::string plainInline(std::string_view markdown);

// `text` wrapped at word boundaries to kTextWidth, the first line after `first`, the others
// after `rest`; a word longer than a line stands on a line of its own.
std::string wrapText(std::string_view text, std::string_view first, std::string_view rest);

// A table's rows (the header first) as columns, each cell wrapped within its column, the
// widest columns narrowed until the table fits kTextWidth.
std::string tableText(const std::vector<std::vector<std::string>>& rows);

}  // namespace brelvion::docgen
