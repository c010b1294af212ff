#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/Clock.h"
#include "i2c/I2cTransfer.h"
#include "scripts/Problem.h"
#include "scripts/Script.h"

namespace brelvion::scripts {

// How one bus command of a script ended.
enum class CommandResult {
  // Acknowledged throughout; an expect that matched, a poll that saw its value.
  Done,
  // A message was not acknowledged (or the adapter refused it: a timeout, lost arbitration).
  NotAcknowledged,
  // An expect that read another value, a poll that did not see its value in time.
  CheckFailed,
};

// What one bus command did, for the companion's line and the window's indicator.
struct CommandReport {
  Step step;
  // The bus command's number, from 1, of the script's bus commands (delays not counted).
  std::size_t index = 0;
  CommandResult result = CommandResult::Done;
  // read: every value; modify, expect: the value read; poll: the last value read. Empty
  // where the read was not acknowledged.
  std::vector<std::uint32_t> values;
  // modify: the value written, once its read went through.
  std::optional<std::uint32_t> written;
  // poll: from its start to its last read.
  std::chrono::milliseconds elapsed{0};
  // NotAcknowledged: the first outcome that was not an acknowledge.
  i2c::MessageOutcome refusal = i2c::MessageOutcome::Acknowledged;
};

struct RunOptions {
  // A command that is not acknowledged is reported and the script goes on, as command files
  // do; a failed check still stops it.
  bool keepGoing = false;
  // Between a read's register pointer write and the read: a STOP or a repeated START.
  i2c::AfterMessage pointerThen = i2c::AfterMessage::Stop;
  // How long a poll waits between two reads.
  std::chrono::milliseconds pollInterval{1};
  // The problem that ends a run names the device by its 7-bit address, as the user asked
  // to see them, rather than by the 8-bit write address the script gives.
  bool sevenBitDevices = false;
  // A Pause step's wait lets pending events run, and a stop be asked for, at least every
  // 50 ms; otherwise it sleeps through. Delays and polls always do.
  bool yieldInPauses = false;
};

// What the caller hears while a script runs. Every member may be left empty.
struct RunHooks {
  // Before bus command `index` (from 1) of `total`.
  std::function<void(std::size_t index, std::size_t total)> progress;
  // After each bus command.
  std::function<void(const CommandReport&)> reported;
  // Between two commands, and in the waits of delays and polls, where no transaction is
  // under way: the window lets its events run there.
  std::function<void()> yield;
  // Asked after each yield; true ends the run there.
  std::function<bool()> stopRequested;
  // After a command and the Pause steps that follow it, just before its yield: where the
  // window beeps.
  std::function<void()> commandFinished;
  // A Pause whose seconds are not a finite number: it is not waited and the run goes on.
  std::function<void()> pauseNotANumber;
};

enum class RunEnd {
  Completed,
  // A command was not acknowledged, without keepGoing.
  NotAcknowledged,
  CheckFailed,
  // The caller asked to stop.
  Stopped,
};

struct RunOutcome {
  RunEnd end = RunEnd::Completed;
  // Bus commands run, and of them not acknowledged, and how many the script has.
  std::size_t commands = 0;
  std::size_t unacknowledged = 0;
  std::size_t total = 0;
  // What ended the run early (NotAcknowledged, CheckFailed), with the file and line.
  std::optional<Problem> problem;
};

// Runs the steps of a checked script on master. Delays and the waits of polls are measured
// and slept on clock, in slices of at most 50 ms with a yield after each. Each bus command
// is followed by one yield, after the Pause steps that come right after it; a Yield step
// there is that yield, not a second one. A port that fails throws base::RuntimeError, as
// the master does; fileName names the script in problems.
RunOutcome runScript(i2c::I2cMaster& master, base::Clock& clock, const std::vector<Step>& steps,
                     const std::string& fileName, const RunOptions& options = {},
                     const RunHooks& hooks = {});

// The next step of a run, read as the run goes (a command file, however long); nullopt
// once there are none. It may throw base::RuntimeError, which ends the run.
using NextStep = std::function<std::optional<Step>()>;

// runScript on the steps next gives; total is the number of their bus commands, for the
// progress (0 when nobody shows it).
RunOutcome runSteps(i2c::I2cMaster& master, base::Clock& clock, const NextStep& next,
                    std::size_t total, const std::string& fileName, const RunOptions& options = {},
                    const RunHooks& hooks = {});

// The number of bus commands (not delays) in steps.
std::size_t busCommandCount(const std::vector<Step>& steps);

// A register and a value in hex as the target's widths write them: "0103", "0219".
std::string registerText(const Target& target, std::uint32_t reg);
std::string valueText(const Target& target, std::uint32_t value);

}  // namespace brelvion::scripts
