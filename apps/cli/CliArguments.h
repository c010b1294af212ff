#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "CliOptions.h"
#include "CliRequest.h"
#include "ShownArgument.h"

namespace brelvion::apps::cli {

struct UsageError {
  std::string message;
};

using ParsedArguments = std::variant<CliRequest, HelpRequest, VersionRequest, UsageError>;

// args without the program name. Options may come anywhere; "--" ends them. --help and
// --version are answered as they come, before any command is looked at.
ParsedArguments parseArguments(const std::vector<std::string>& args);

// Within 80 columns, for a terminal.
std::string usageText();

// Parts of the help that the help document's chapter on the companion shows as they are:
// a line a command ("brelvion-i2c-cli [options] write DEV SUB DATA", after indent), the
// options with their explanations (optionsText, CliOptions.h), and the exit statuses.
std::string synopsisText(std::string_view indent);
std::string exitStatusText();

using apps::escapeControls;
using apps::shownArgument;

}  // namespace brelvion::apps::cli
