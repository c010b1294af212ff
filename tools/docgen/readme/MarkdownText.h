// The user guide's Markdown as chapters of the plain-text help document. Only what the
// guide uses is understood: headings, paragraphs, "- " lists (nested by two blanks),
// blocks indented by four blanks, tables, images (left out) and comments, of which a
// marker comment "<!-- @NAME@ -->" stands for a text made elsewhere.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brelvion::docgen {

// A text put where its marker comment stands; `used` says whether a page had the marker.
struct Insert {
  std::string marker;
  std::string text;
  bool used = false;
};

// A guide page as chapter `chapter`: its "#" heading numbered "N.", "##" ones "N.M" and
// "###" ones "N.M.K". A marker comment no insert names is an error (std::runtime_error).
std::string chapterText(std::string_view markdown, int chapter, std::vector<Insert>& inserts);

// The document's head: the title of the README, underlined, and its paragraphs up to the
// first picture or section.
std::string openingText(std::string_view readme);

}  // namespace brelvion::docgen
