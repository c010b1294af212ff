#include "CliMapArguments.h"

#include "CliScriptArguments.h"

namespace brelvion::apps::cli {

namespace {

// The device comes from --device when given, else from the map once it is read.
MapArgumentError applyMapCommand(Command command, CliRequest& request) {
  request.command = command;
  request.deviceGiven = request.script.deviceText.has_value();
  return readDeviceOption(request);
}

const char* commandName(Command command) {
  switch (command) {
    case Command::ReadAll:
      return "read-all";
    case Command::Snapshot:
      return "snapshot";
    case Command::Diff:
      return "diff";
    default:
      return "write-back";
  }
}

}  // namespace

bool isMapCommand(Command command) {
  return command == Command::ReadAll || command == Command::Snapshot || command == Command::Diff ||
         command == Command::WriteBack;
}

MapArgumentError applyReadAll(const std::vector<std::string>&, CliRequest& request) {
  return applyMapCommand(Command::ReadAll, request);
}

MapArgumentError applySnapshot(const std::vector<std::string>& arguments, CliRequest& request) {
  request.file = arguments[0];
  return applyMapCommand(Command::Snapshot, request);
}

MapArgumentError applyDiff(const std::vector<std::string>& arguments, CliRequest& request) {
  request.file = arguments[0];
  if (arguments.size() == 2) request.otherSnapshot = arguments[1];
  return applyMapCommand(Command::Diff, request);
}

MapArgumentError applyWriteBack(const std::vector<std::string>& arguments, CliRequest& request) {
  request.file = arguments[0];
  return applyMapCommand(Command::WriteBack, request);
}

MapArgumentError checkMapOptions(const CliRequest& request) {
  const std::string name = commandName(request.command);
  if (request.registerBits || request.valueBits || request.littleEndian) {
    return "--reg-bits, --value-bits and --le are for write and read; " + name +
           " keeps to the map's widths";
  }
  const bool twoSnapshots = request.command == Command::Diff && request.otherSnapshot;
  if (twoSnapshots) {
    if (request.capturePath || request.script.deviceText) {
      return "diff A B compares two files: --capture and --device go with the bus";
    }
    return std::nullopt;
  }
  if (!request.mapFile) {
    return request.command == Command::Diff
               ? "diff A wants --map FILE to read the device with (or a second snapshot B)"
               : name + " wants --map FILE";
  }
  return std::nullopt;
}

}  // namespace brelvion::apps::cli
