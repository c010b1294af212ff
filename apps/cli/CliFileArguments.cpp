#include "CliFileArguments.h"

#include "CliRegisterArguments.h"
#include "CliScriptArguments.h"
#include "ShownArgument.h"

namespace brelvion::apps::cli {

namespace {

constexpr int kMaxDumpLast = 32767;

}  // namespace

ArgumentError parseSend(const std::vector<std::string>& arguments, const CommandOptions& given,
                        CliRequest& request) {
  SendRequest& send = request.command.emplace<SendRequest>();
  send.file = arguments[0];
  if (const auto delay = given.value("--delay")) send.delay = *delaySeconds(*delay);
  send.keepGoing = given.has("--keep-going");
  return std::nullopt;
}

ArgumentError refuseForSend(const CommandOptions& given, const CliRequest& request) {
  const auto& send = std::get<SendRequest>(request.command);
  const bool script = isScriptFile(send.file);
  // Standard input is told a script or a command file only once it is read.
  const bool maybeScript = send.file == kStandardInput;
  ArgumentError delay;
  if (script && send.delay != 0) {
    delay = "--delay is for command files (.i2c); a script waits with its delay lines";
  }
  return firstError({refuseRegisterOptions(given), refuseOutput(given), refuseImportOptions(given),
                     refuseExpect(given),
                     script || maybeScript ? std::nullopt : refuseKeepGoing(given), delay});
}

ArgumentError parseDump(const std::vector<std::string>& arguments, const CommandOptions&,
                        CliRequest& request) {
  DumpRequest& dump = request.command.emplace<DumpRequest>();
  if (auto error = addressArgument(arguments[0], "DEV", request.sevenBit, dump.device)) {
    return error;
  }
  const auto last = decimal(arguments[1]);
  if (!last || *last < 0 || *last > kMaxDumpLast) {
    return "LAST must be a decimal register number from 0 to 32767, not " +
           apps::shownArgument(arguments[1]);
  }
  dump.last = static_cast<std::int16_t>(*last);
  dump.file = arguments[2];
  return std::nullopt;
}

}  // namespace brelvion::apps::cli
