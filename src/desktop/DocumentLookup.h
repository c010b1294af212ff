#pragma once

#include <optional>
#include <string>

namespace brelvion::desktop {

// Where a help document of the tool is: a relative name is looked for in the current
// directory first, then beside the program and in the folder the documents are installed
// to. An absolute name is taken as it is. Nothing when the file is in none of them.
std::optional<std::string> findDocument(const std::string& name);

// The folder of the running program, for findDocument; set once at start-up.
void setProgramDirectory(const std::string& directory);

}  // namespace brelvion::desktop
