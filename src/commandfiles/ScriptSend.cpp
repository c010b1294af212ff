#include "commandfiles/ScriptSend.h"

#include "scripts/ScriptReader.h"

namespace brelvion::commandfiles {

namespace {

constexpr const char* kScriptSource = "SendScriptFile";

ScriptSendOutcome failed(desktop::Desktop& desktop, Step step, int number,
                         const std::string& text) {
  reportFailure(desktop, step, base::RuntimeError(number, kScriptSource, text));
  ScriptSendOutcome outcome;
  outcome.end = SendEnd::Failed;
  return outcome;
}

// bulk: a Stop on Error box ends the script, as Esc does.
scripts::RunHooks scriptHooksOf(core::ToolCore& core, const SendHooks& hooks,
                                const trace::DebugLog::BulkAction& bulk) {
  scripts::RunHooks run = runHooksOf(core, hooks);
  run.stopRequested = [&hooks, &bulk] {
    return bulk.stopped() || (hooks.stopRequested && hooks.stopRequested());
  };
  return run;
}

ScriptSendOutcome run(core::ToolCore& core, const std::string& path,
                      const std::vector<scripts::Step>& steps, const SendHooks& hooks,
                      bool keepGoing, i2c::AfterMessage pointerThen) {
  scripts::RunOptions options;
  options.keepGoing = keepGoing;
  options.pointerThen = pointerThen;
  base::Clock& clock = hooks.clock != nullptr ? *hooks.clock : base::systemClock();
  const trace::DebugLog::BulkAction bulk(core.log());
  const scripts::RunOutcome ran = scripts::runScript(core.master(), clock, steps, path, options,
                                                     scriptHooksOf(core, hooks, bulk));
  ScriptSendOutcome outcome;
  if (ran.problem) {
    outcome = failed(core.desktop(), Step::SendScript, base::RuntimeError::kInvalidCall,
                     ran.problem->text());
  } else if (ran.end == scripts::RunEnd::Stopped) {
    outcome.end = SendEnd::Stopped;
  }
  outcome.commands = ran.commands;
  outcome.total = ran.total;
  outcome.unacknowledged = ran.unacknowledged;
  return outcome;
}

}  // namespace

std::string problemsText(const scripts::Problems& problems) {
  std::string text;
  for (std::size_t i = 0; i < problems.size() && i < kProblemsShown; ++i) {
    if (i > 0) text += '\n';
    text += problems[i].text();
  }
  if (problems.size() > kProblemsShown) {
    text += "\n... and " + std::to_string(problems.size() - kProblemsShown) + " more";
  }
  return text;
}

ScriptSendOutcome sendScriptFile(core::ToolCore& core, const std::string& path,
                                 const SendHooks& hooks, bool keepGoing,
                                 i2c::AfterMessage pointerThen) {
  try {
    const scripts::ReadResult read = scripts::readScriptFile(path);
    if (!read.ok()) {
      return failed(core.desktop(), Step::SendFile, base::RuntimeError::kInvalidFileFormat,
                    problemsText(read.problems));
    }
    return run(core, path, scripts::stepsOf(read.script), hooks, keepGoing, pointerThen);
  } catch (const base::RuntimeError& error) {
    reportFailure(core.desktop(), Step::SendFile, error);
    ScriptSendOutcome outcome;
    outcome.end = SendEnd::Failed;
    return outcome;
  }
}

}  // namespace brelvion::commandfiles
