#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CliArguments.h"

namespace brelvion::apps::cli {

// The parts of the companion's parser for the register map's actions: read-all, snapshot
// OUT, diff A [B] and write-back SNAPSHOT. Each returns the usage error's message, or
// nothing.
using MapArgumentError = std::optional<std::string>;

bool isMapCommand(Command command);

MapArgumentError applyReadAll(const std::vector<std::string>& arguments, CliRequest& request);
MapArgumentError applySnapshot(const std::vector<std::string>& arguments, CliRequest& request);
MapArgumentError applyDiff(const std::vector<std::string>& arguments, CliRequest& request);
MapArgumentError applyWriteBack(const std::vector<std::string>& arguments, CliRequest& request);

// Every one wants --map, except a diff of two snapshots; the widths are the map's own.
MapArgumentError checkMapOptions(const CliRequest& request);

}  // namespace brelvion::apps::cli
