#include "CliScriptCommands.h"

#include "CliRun.h"
#include "base/UserFile.h"
#include "numconv/HexText.h"
#include "scripts/Formats.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptWriter.h"
#include "scripts/TextLines.h"

namespace brelvion::apps::cli {

namespace {

using scripts::CommandReport;
using scripts::CommandResult;
using scripts::Op;

constexpr const char* kProgram = "brelvion-i2c-cli";

void printProblems(const scripts::Problems& problems, std::ostream& err) {
  for (const scripts::Problem& problem : problems) err << escapeControls(problem.text()) << '\n';
}

std::string refusalWord(port::MessageOutcome refusal) {
  switch (refusal) {
    case port::MessageOutcome::TimedOut:
      return "TIMEOUT";
    case port::MessageOutcome::ArbitrationLost:
      return "ARBITRATION LOST";
    default:
      return "NO ACK";
  }
}

std::string valuesText(const CommandReport& report) {
  std::string text;
  for (const std::uint32_t value : report.values) {
    text += ' ' + scripts::valueText(report.step.target, value);
  }
  return text;
}

// What follows "DEV REG" on a command's line.
std::string resultText(const CommandReport& report) {
  const scripts::Step& step = report.step;
  const std::string ack =
      report.result == CommandResult::NotAcknowledged ? refusalWord(report.refusal) : "ACK";
  if (step.op == Op::Write) return ' ' + scripts::valueText(step.target, step.value) + ' ' + ack;
  const std::string after = " after " + std::to_string(report.elapsed.count()) + " ms";
  if (report.values.empty()) return ' ' + ack + (step.op == Op::Poll ? after : "");
  const std::string read = " =" + valuesText(report);
  const bool failed = report.result == CommandResult::CheckFailed;
  switch (step.op) {
    case Op::Modify:
      return read + " -> " + scripts::valueText(step.target, report.written.value_or(0)) + ' ' +
             ack;
    case Op::Expect:
      return read + (failed ? " FAILED" : " OK");
    case Op::Poll:
      return read + after + (failed ? " FAILED" : "");
    default:
      return read;
  }
}

// Where the result goes: -o's file, complete or not at all, or standard output.
void writeResult(const CliRequest& request, const std::string& text, std::ostream& out) {
  if (request.script.output) {
    base::writeUserFile(*request.script.output, text, request.command == Command::Import
                                                          ? "import"
                                                          : "export");
  } else {
    out << text;
  }
}

scripts::ImportOptions importOptionsOf(const CliRequest& request) {
  scripts::ImportOptions options;
  if (request.script.deviceText) options.device = static_cast<std::uint8_t>(request.device);
  if (request.registerBits) options.regBits = static_cast<unsigned>(*request.registerBits);
  if (request.valueBits) options.valBits = static_cast<unsigned>(*request.valueBits);
  options.skipUnknown = request.script.skipUnknown;
  options.keepPauses = request.script.keepPauses;
  options.readsAsExpect = request.script.readsAsExpect;
  if (request.script.sclName) options.signals.scl = *request.script.sclName;
  if (request.script.sdaName) options.signals.sda = *request.script.sdaName;
  if (request.script.minDelayMs) options.minDelayMs = *request.script.minDelayMs;
  return options;
}

}  // namespace

std::optional<CheckedScript> checkScript(const std::string& file, std::ostream& err) {
  return checkScriptText(scripts::readTextFile(file, "Read Script"), file, err);
}

std::optional<CheckedScript> checkScriptText(std::string_view text, const std::string& file,
                                             std::ostream& err) {
  const scripts::ReadResult read = scripts::readScript(text, file);
  if (!read.ok()) {
    printProblems(read.problems, err);
    return std::nullopt;
  }
  return CheckedScript{file, scripts::stepsOf(read.script)};
}

std::string commandLine(const CommandReport& report, bool sevenBit) {
  const std::uint8_t device = report.step.target.device;
  return numconv::UpperHex(sevenBit ? device >> 1 : device, 2) + ' ' +
         scripts::registerText(report.step.target, report.step.reg) + resultText(report);
}

int runScriptSend(core::ToolCore& core, const CheckedScript& script, const CliRequest& request,
                  base::Clock& clock, std::ostream& out, std::ostream& err) {
  scripts::RunOptions options;
  options.keepGoing = request.script.keepGoing;
  options.sevenBitDevices = request.sevenBit;
  options.pointerThen =
      request.repeatedStart ? port::AfterMessage::RepeatedStart : port::AfterMessage::Stop;
  scripts::RunHooks hooks;
  hooks.reported = [&](const CommandReport& report) {
    out << commandLine(report, request.sevenBit) << '\n';
  };
  // Nobody reads the results any more (a closed pipe, a full disk): stop the bus work.
  hooks.stopRequested = [&] { return !out.flush(); };
  const scripts::RunOutcome outcome =
      scripts::runScript(core.master(), clock, script.steps, script.file, options, hooks);
  if (!out.flush()) {
    err << kProgram << ": cannot write standard output: the script was stopped after command "
        << outcome.commands << '\n';
    return kExitUsageOrPortError;
  }
  switch (outcome.end) {
    case scripts::RunEnd::Completed:
      return outcome.unacknowledged == 0 ? kExitAcknowledged : kExitNotAcknowledged;
    case scripts::RunEnd::NotAcknowledged:
      err << escapeControls(outcome.problem->text())
          << "; the script stopped there (--keep-going goes on)\n";
      return kExitNotAcknowledged;
    case scripts::RunEnd::CheckFailed:
      err << escapeControls(outcome.problem->text()) << '\n';
      return kExitUsageOrPortError;
    case scripts::RunEnd::Stopped:
      break;
  }
  return kExitUsageOrPortError;
}

int runImport(const CliRequest& request, std::ostream& out, std::ostream& err) {
  const scripts::ImportResult result =
      scripts::importFile(*scripts::formatNamed(request.script.format), request.script.input,
                          importOptionsOf(request));
  printProblems(result.problems, err);
  if (!result.ok()) return kExitUsageOrPortError;
  writeResult(request, scripts::writeScript(result.script), out);
  return kExitAcknowledged;
}

int runExport(const CliRequest& request, std::ostream& out, std::ostream& err) {
  const scripts::ReadResult read = scripts::readScriptFile(request.script.input);
  if (!read.ok()) {
    printProblems(read.problems, err);
    return kExitUsageOrPortError;
  }
  const scripts::ExportResult exported = scripts::exportScript(
      *scripts::formatNamed(request.script.format), read.script, request.script.input,
      scripts::ExportOptions{.repeatedStartReads = request.repeatedStart});
  if (!exported.ok()) {
    printProblems({*exported.problem}, err);
    return kExitUsageOrPortError;
  }
  writeResult(request, exported.text, out);
  return kExitAcknowledged;
}

}  // namespace brelvion::apps::cli
