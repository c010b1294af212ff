#include "commandfiles/Sender.h"

#include <exception>
#include <filesystem>
#include <vector>

#include "commandfiles/TmpFile.h"
#include "core/RegisterCommands.h"
#include "numconv/HexFields.h"
#include "scripts/CommandFileWrites.h"
#include "scripts/Pause.h"
#include "scripts/ScriptReader.h"
#include "scripts/ScriptRunner.h"
#include "scripts/TextLines.h"

namespace brelvion::commandfiles {

namespace {

constexpr const char* kSenderSource = "SendCommandFile";

// The "ERROR" box for a delay that is not a number.
void reportDelayNotANumber(desktop::Desktop& desktop) {
  reportFailure(desktop, Step::DelayTime,
                base::RuntimeError(base::RuntimeError::kOverflow, "DelayTime"));
}

}  // namespace

std::int16_t readHexField(InputFile& file) {
  numconv::HexFieldReader reader;
  while (!file.atEnd()) {
    if (const std::optional<std::uint8_t> value = reader.take(static_cast<char>(file.get()))) {
      return *value;
    }
  }
  if (const std::optional<std::uint8_t> value = reader.end()) return *value;
  return -1;
}

long long countWrites(const std::string& path) {
  InputFile file(path, kSenderSource);
  return countWrites(file);
}

long long countWrites(InputFile& file) {
  long long values = 0;
  while (readHexField(file) >= 0) ++values;
  return values / 3;
}

void delayTime(desktop::Desktop& desktop, double seconds, base::Clock& clock) {
  if (scripts::pauseFor(clock, seconds, {}) == scripts::PauseEnd::NotANumber) {
    reportDelayNotANumber(desktop);
  }
}

namespace {

// The steps of a command file, read a pass at a time as they run: each pass takes three
// values; a complete group is its write (scripts::appendSentWrite), one cut off by the end
// of the file only its yield.
class CommandFileSteps {
 public:
  // lastGroup: where each pass's values go as they are read.
  CommandFileSteps(InputFile& file, double commandDelay, std::optional<ReadGroup>& lastGroup)
      : file_(file), commandDelay_(commandDelay), lastGroup_(lastGroup) {}

  std::optional<scripts::Step> next() {
    if (taken_ == pass_.size()) {
      pass_.clear();
      taken_ = 0;
      if (file_.atEnd()) return std::nullopt;
      readPass();
    }
    return pass_[taken_++];
  }

 private:
  void readPass() {
    ReadGroup& group = lastGroup_.emplace();
    group.device = readHexField(file_);
    group.subAddress = readHexField(file_);
    group.data = readHexField(file_);
    if (group.device == -1 || group.subAddress == -1 || group.data == -1) {
      pass_.push_back(scripts::Step::yield());
      return;
    }
    const scripts::Step write = scripts::commandFileWrite(
        static_cast<std::uint8_t>(group.device), static_cast<std::uint8_t>(group.subAddress),
        static_cast<std::uint8_t>(group.data));
    group.device = write.target.device;
    scripts::appendSentWrite(pass_, write, commandDelay_);
  }

  InputFile& file_;
  double commandDelay_;
  std::vector<scripts::Step> pass_;
  std::size_t taken_ = 0;
  std::optional<ReadGroup>& lastGroup_;
};

// The send's hooks, with Audible's beep after each write and the "ERROR" box for a delay
// that is not a number.
scripts::RunHooks writeHooksOf(core::ToolCore& core, const SendOptions& options,
                               const SendHooks& hooks) {
  scripts::RunHooks run = runHooksOf(core, hooks);
  if (options.beepOn) run.commandFinished = [&core] { core.desktop().beep(); };
  run.pauseNotANumber = [&core] { reportDelayNotANumber(core.desktop()); };
  return run;
}

// open makes a fresh reader of the file each time it is called.
template <typename Open>
SendOutcome sendReadings(core::ToolCore& core, const SendOptions& options, const SendHooks& hooks,
                         Open open) {
  SendOutcome outcome;
  try {
    // Counted first only for a caller that shows progress: the count is a second reading.
    long long total = 0;
    if (hooks.progress) {
      InputFile counted = open();
      total = countWrites(counted);
    }
    InputFile file = open();
    CommandFileSteps steps(file, options.commandDelay, outcome.lastGroup);
    scripts::RunOptions run;
    // As the tool's register commands: a write that is not acknowledged is counted, and
    // the send goes on.
    run.keepGoing = true;
    run.yieldInPauses = hooks.yieldInPauses;
    core::CommandMaster master(core.master());
    const scripts::RunOutcome ran = scripts::runSteps(
        master, hooks.clock != nullptr ? *hooks.clock : base::systemClock(),
        [&steps] { return steps.next(); }, static_cast<std::size_t>(total), file.path(), run,
        writeHooksOf(core, options, hooks));
    outcome.writes = static_cast<long long>(ran.commands);
    outcome.unacknowledged = static_cast<long long>(ran.unacknowledged);
    if (ran.end == scripts::RunEnd::Stopped) outcome.end = SendEnd::Stopped;
  } catch (const base::RuntimeError& error) {
    outcome.end = SendEnd::Failed;
    outcome.failure = reportFailure(core.desktop(), Step::SendCommandFile, error);
  }
  return outcome;
}

}  // namespace

SendOutcome sendCommandFile(core::ToolCore& core, const std::string& name,
                            const SendOptions& options, const SendHooks& hooks) {
  return sendReadings(core, options, hooks, [&name] { return InputFile(name, kSenderSource); });
}

SendOutcome sendCommandText(core::ToolCore& core, std::string_view text, const std::string& name,
                            const SendOptions& options, const SendHooks& hooks) {
  return sendReadings(core, options, hooks, [&] { return InputFile::fromText(text, name); });
}

namespace {

// A script chosen under another name had its copy refused, and left empty, when Open made
// it; Send File says why again rather than sending nothing. Only a regular file is read
// here, since a pipe's content was taken by the copy already.
void refuseScript(const std::string& chosen) {
  std::error_code error;
  if (chosen.empty() || !std::filesystem::is_regular_file(chosen, error)) return;
  if (const auto start = scripts::scriptStartOf(scripts::readTextFile(chosen, "SendFile"))) {
    throw base::RuntimeError(base::RuntimeError::kInvalidFileFormat, "SendFile",
                             scripts::scriptNotCommandFile(chosen, *start));
  }
}

void failed(Failure failure, SendOutcome* outcome) {
  if (outcome == nullptr) return;
  outcome->end = SendEnd::Failed;
  outcome->failure = std::move(failure);
}

}  // namespace

SendFileAction sendFile(core::ToolCore& core, const std::string& lastChosenFile,
                        const SendOptions& options, const SendHooks& hooks, SendOutcome* outcome) {
  try {
    if (core.values().fileEdited) {
      createTmpFile(core, lastChosenFile);
      core.values().sendFileName = core.values().tmpFileName;
    } else {
      refuseScript(lastChosenFile);
    }
    if (core.values().sendFileName.empty()) return SendFileAction::OpenInstead;
    SendOutcome sent = sendCommandFile(core, core.values().sendFileName, options, hooks);
    if (outcome != nullptr) *outcome = std::move(sent);
  } catch (const base::RuntimeError& error) {
    failed(reportFailure(core.desktop(), Step::SendFile, error), outcome);
  } catch (const std::exception& error) {
    const base::RuntimeError wrapped(base::RuntimeError::kInvalidCall, "SendFile", error.what());
    failed(reportFailure(core.desktop(), Step::SendFile, wrapped), outcome);
  }
  return SendFileAction::Sent;
}

}  // namespace brelvion::commandfiles
