#include "CliMapArguments.h"

#include "CliRegisterArguments.h"

namespace brelvion::apps::cli {

namespace {

// The device comes from --device when given, else from the map once it is read.
ArgumentError parseMapCommand(MapAction action, const std::string& file,
                              const CommandOptions& given, CliRequest& request) {
  MapRequest& map = request.command.emplace<MapRequest>();
  map.action = action;
  map.file = file;
  map.mapFile = given.value("--map");
  return deviceOption(given, request.sevenBit, map.device);
}

const char* commandName(MapAction action) {
  switch (action) {
    case MapAction::ReadAll:
      return "read-all";
    case MapAction::Snapshot:
      return "snapshot";
    case MapAction::Diff:
      return "diff";
    case MapAction::WriteBack:
      break;
  }
  return "write-back";
}

// The map's own checks, which come before those of the options it does not take.
ArgumentError mapProblem(const CommandOptions& given, const CliRequest& request) {
  const auto& map = std::get<MapRequest>(request.command);
  const std::string name = commandName(map.action);
  if (given.hasAny({"--reg-bits", "--value-bits", "--le"})) {
    return "--reg-bits, --value-bits and --le are for write and read; " + name +
           " keeps to the map's widths";
  }
  if (map.action == MapAction::Diff && map.otherSnapshot) {
    if (request.capturePath || map.device) {
      return "diff A B compares two files: --capture and --device go with the bus";
    }
    return std::nullopt;
  }
  if (!map.mapFile) {
    return map.action == MapAction::Diff
               ? "diff A wants --map FILE to read the device with (or a second snapshot B)"
               : name + " wants --map FILE";
  }
  return std::nullopt;
}

}  // namespace

ArgumentError parseReadAll(const std::vector<std::string>&, const CommandOptions& given,
                           CliRequest& request) {
  return parseMapCommand(MapAction::ReadAll, {}, given, request);
}

ArgumentError parseSnapshot(const std::vector<std::string>& arguments, const CommandOptions& given,
                            CliRequest& request) {
  return parseMapCommand(MapAction::Snapshot, arguments[0], given, request);
}

ArgumentError parseDiff(const std::vector<std::string>& arguments, const CommandOptions& given,
                        CliRequest& request) {
  if (auto error = parseMapCommand(MapAction::Diff, arguments[0], given, request)) return error;
  if (arguments.size() == 2) std::get<MapRequest>(request.command).otherSnapshot = arguments[1];
  return std::nullopt;
}

ArgumentError parseWriteBack(const std::vector<std::string>& arguments, const CommandOptions& given,
                             CliRequest& request) {
  return parseMapCommand(MapAction::WriteBack, arguments[0], given, request);
}

ArgumentError refuseForMap(const CommandOptions& given, const CliRequest& request) {
  // The map's commands take --device too, in place of the map's device.
  return firstError({mapProblem(given, request), refuseScriptOptions(given, true)});
}

}  // namespace brelvion::apps::cli
