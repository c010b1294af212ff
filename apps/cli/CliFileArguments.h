#pragma once

#include <string>
#include <vector>

#include "CliOptions.h"
#include "CliRequest.h"

namespace brelvion::apps::cli {

// The parsers of send FILE and dump DEV LAST FILE, and what send refuses once the port
// options are known good (dump refuses as the bus's commands do).
ArgumentError parseSend(const std::vector<std::string>& arguments, const CommandOptions& given,
                        CliRequest& request);
ArgumentError refuseForSend(const CommandOptions& given, const CliRequest& request);

ArgumentError parseDump(const std::vector<std::string>& arguments, const CommandOptions& given,
                        CliRequest& request);

}  // namespace brelvion::apps::cli
