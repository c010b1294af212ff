#pragma once

#include <string>
#include <vector>

#include "CliOptions.h"
#include "CliRequest.h"

namespace brelvion::apps::cli {

// The parsers of the register map's actions: read-all, snapshot OUT, diff A [B] and
// write-back SNAPSHOT, and what they refuse once the port options are known good.
ArgumentError parseReadAll(const std::vector<std::string>& arguments, const CommandOptions& given,
                           CliRequest& request);
ArgumentError parseSnapshot(const std::vector<std::string>& arguments, const CommandOptions& given,
                            CliRequest& request);
ArgumentError parseDiff(const std::vector<std::string>& arguments, const CommandOptions& given,
                        CliRequest& request);
ArgumentError parseWriteBack(const std::vector<std::string>& arguments, const CommandOptions& given,
                             CliRequest& request);

// Every one wants --map, except a diff of two snapshots; the widths are the map's own.
ArgumentError refuseForMap(const CommandOptions& given, const CliRequest& request);

}  // namespace brelvion::apps::cli
