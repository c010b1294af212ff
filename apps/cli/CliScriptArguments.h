#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CliArguments.h"

namespace brelvion::apps::cli {

// The parts of the companion's parser for bring-up scripts: import, export, and send of a
// FILE.i2cs. Each returns the usage error's message, or nothing.
using ScriptArgumentError = std::optional<std::string>;

// send's FILE that stands for standard input, a script or a command file by its content.
inline constexpr std::string_view kStandardInput = "-";

// Whether send's FILE is a bring-up script (it ends in .i2cs) rather than a command file.
bool isScriptFile(const std::string& file);

// import FORMAT IN and export FORMAT IN.
ScriptArgumentError applyImport(const std::vector<std::string>& arguments, CliRequest& request);
ScriptArgumentError applyExport(const std::vector<std::string>& arguments, CliRequest& request);

// --device, read once every option is known into request.device: an 8-bit write address,
// or 7-bit with --7bit. Nothing happens without it.
ScriptArgumentError readDeviceOption(CliRequest& request);

// The options of those commands.
ScriptArgumentError applyImportDevice(const std::string& value, CliRequest& request);
ScriptArgumentError applySclName(const std::string& value, CliRequest& request);
ScriptArgumentError applySdaName(const std::string& value, CliRequest& request);
ScriptArgumentError applyMinDelay(const std::string& value, CliRequest& request);
ScriptArgumentError applyOutput(const std::string& value, CliRequest& request);

// Options given to a command they do not belong to: -o to import and export, the import
// options to import, --keep-going to send FILE.i2cs, --delay to send of a command file.
ScriptArgumentError checkScriptOptions(const CliRequest& request);

}  // namespace brelvion::apps::cli
