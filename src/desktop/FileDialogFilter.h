#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace brelvion::desktop {

// One entry of a file dialog's type list: what the user reads and the name patterns.
struct FileTypeFilter {
  std::string description;
  std::vector<std::string> patterns;
};

// Splits the windows' filter lists, description and pattern pairs separated by "|" as in
// "Text (*.TXT)|*.TXT|All (*.*)|*.*", into entries. A pattern field may hold several
// patterns separated by ";". A description without a pattern matches every file.
std::vector<FileTypeFilter> parseFileDialogFilter(std::string_view filter);

// The entry as a toolkit name filter, "Description (*.a *.b)". A description that already
// ends with its patterns in parentheses, as "Text (*.TXT)", does not show them twice.
std::string nameFilterText(const FileTypeFilter& entry);

}  // namespace brelvion::desktop
