#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "CliOptions.h"
#include "CliRequest.h"

namespace brelvion::apps::cli {

// The parsers of import and export, and what each refuses once the port options are known
// good.

// send's FILE that stands for standard input, a script or a command file by its content.
inline constexpr std::string_view kStandardInput = "-";

// Whether send's FILE is a bring-up script (it ends in .i2cs) rather than a command file.
bool isScriptFile(const std::string& file);

// import FORMAT IN and export FORMAT IN.
ArgumentError parseImport(const std::vector<std::string>& arguments, const CommandOptions& given,
                          CliRequest& request);
ArgumentError refuseForImport(const CommandOptions& given, const CliRequest& request);

ArgumentError parseExport(const std::vector<std::string>& arguments, const CommandOptions& given,
                          CliRequest& request);
ArgumentError refuseForExport(const CommandOptions& given, const CliRequest& request);

}  // namespace brelvion::apps::cli
