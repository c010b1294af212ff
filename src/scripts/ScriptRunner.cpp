#include "scripts/ScriptRunner.h"

#include <algorithm>

#include "bus/RegisterAccess.h"
#include "numconv/HexText.h"
#include "i2c/DeviceAddress.h"
#include "scripts/Pause.h"

namespace brelvion::scripts {

namespace {

using Nanos = std::chrono::nanoseconds;
using std::chrono::milliseconds;

// The longest sleep between two yields, so that Escape stops a long delay promptly.
constexpr Nanos kWaitSlice = milliseconds(50);

i2c::MessageOutcome firstRefusal(const i2c::TransferResult& result) {
  for (const i2c::MessageResult& message : result.messages) {
    if (message.outcome != i2c::MessageOutcome::Acknowledged) return message.outcome;
  }
  return i2c::MessageOutcome::NotSent;
}

std::string refusalText(i2c::MessageOutcome refusal, std::uint8_t device, bool sevenBit) {
  const std::string address =
      i2c::ParsedAddress::fromByte(device).text(i2c::addressForm(sevenBit));
  switch (refusal) {
    case i2c::MessageOutcome::TimedOut:
      return "bus timeout at device " + address;
    case i2c::MessageOutcome::ArbitrationLost:
      return "lost arbitration at device " + address;
    default:
      return "not acknowledged by device " + address;
  }
}

class Runner {
 public:
  Runner(i2c::I2cMaster& master, base::Clock& clock, const std::string& fileName,
         const RunOptions& options, const RunHooks& hooks)
      : master_(master), clock_(clock), fileName_(fileName), options_(options), hooks_(hooks) {}

  RunOutcome run(const NextStep& next, std::size_t total) {
    outcome_.total = total;
    // A command's yield waits for the pauses that follow it.
    bool commandToFinish = false;
    while (const std::optional<Step> step = next()) {
      if (step->op == Op::Pause) {
        if (!pause(step->seconds)) return stopped();
        continue;
      }
      if (commandToFinish || step->op == Op::Yield) {
        if (!finishCommand(commandToFinish)) return stopped();
        commandToFinish = false;
        if (step->op == Op::Yield) continue;
      }
      if (step->op == Op::Delay) {
        if (!waitFor(milliseconds(step->number))) return stopped();
        continue;
      }
      if (hooks_.progress) hooks_.progress(outcome_.commands + 1, outcome_.total);
      const CommandReport report = runCommand(*step);
      if (stopped_) return stopped();
      if (hooks_.reported) hooks_.reported(report);
      if (!judge(report)) return outcome_;
      commandToFinish = true;
    }
    if (commandToFinish && !finishCommand(true)) return stopped();
    return outcome_;
  }

 private:
  CommandReport runCommand(const Step& step) {
    CommandReport report;
    report.step = step;
    report.index = ++outcome_.commands;
    switch (step.op) {
      case Op::Write:
        noteTransfer(report, bus::writeRegister(master_, step.target.device, step.target.format,
                                                step.reg, step.value));
        break;
      case Op::Read:
        readInto(report, step.number);
        break;
      case Op::Modify:
        modify(report);
        break;
      case Op::Expect:
        readInto(report, 1);
        if (report.result == CommandResult::Done && report.values[0] != step.value) {
          report.result = CommandResult::CheckFailed;
        }
        break;
      case Op::Poll:
        poll(report);
        break;
      default:
        break;
    }
    return report;
  }

  void noteTransfer(CommandReport& report, const i2c::TransferResult& result) {
    if (result.acknowledged()) return;
    report.result = CommandResult::NotAcknowledged;
    report.refusal = firstRefusal(result);
  }

  void readInto(CommandReport& report, std::uint32_t count) {
    const Step& step = report.step;
    const bus::RegisterRead read = bus::readRegisters(
        master_, step.target.device, step.target.format, step.reg, count, options_.pointerThen);
    report.result = CommandResult::Done;
    report.values.clear();
    noteTransfer(report, read.transfer);
    if (read.acknowledged()) report.values = read.values;
  }

  void modify(CommandReport& report) {
    const Step& step = report.step;
    readInto(report, 1);
    if (report.result != CommandResult::Done) return;
    const std::uint32_t written = (report.values[0] & ~step.mask) | (step.value & step.mask);
    report.written = written;
    noteTransfer(report, bus::writeRegister(master_, step.target.device, step.target.format,
                                            step.reg, written));
  }

  // Reads until the masked value is the one wanted or the time is up; a read that is not
  // acknowledged is tried again (a sensor in its reset may not answer), and counts only
  // when it is the last.
  void poll(CommandReport& report) {
    const Step& step = report.step;
    const Nanos start = clock_.now();
    const Nanos limit = milliseconds(step.number);
    for (;;) {
      readInto(report, 1);
      const Nanos elapsed = clock_.now() - start;
      report.elapsed = std::chrono::duration_cast<milliseconds>(elapsed);
      if (report.result == CommandResult::Done && (report.values[0] & step.mask) == step.value) {
        return;
      }
      if (elapsed >= limit) break;
      if (!sleepSlice(std::min<Nanos>(options_.pollInterval, limit - elapsed))) return;
    }
    if (report.result == CommandResult::Done) report.result = CommandResult::CheckFailed;
  }

  // Whether the run goes on after the command; otherwise outcome_ says why it ended.
  bool judge(const CommandReport& report) {
    const Step& step = report.step;
    const std::string head = std::string(commandName(step.op)) + ' ' +
                             registerText(step.target, step.reg) + ": ";
    switch (report.result) {
      case CommandResult::Done:
        return true;
      case CommandResult::NotAcknowledged:
        ++outcome_.unacknowledged;
        if (options_.keepGoing) return true;
        return end(
            RunEnd::NotAcknowledged, step,
            head + refusalText(report.refusal, step.target.device, options_.sevenBitDevices));
      case CommandResult::CheckFailed:
        return end(RunEnd::CheckFailed, step, head + checkText(report));
    }
    return true;
  }

  static std::string checkText(const CommandReport& report) {
    const Step& step = report.step;
    const std::string read = valueText(step.target, report.values[0]);
    if (step.op == Op::Expect) {
      return "read " + read + ", expected " + valueText(step.target, step.value);
    }
    return "read " + read + " after " + std::to_string(report.elapsed.count()) + " ms, still not " +
           valueText(step.target, step.value) + " under mask " + valueText(step.target, step.mask);
  }

  bool end(RunEnd end, const Step& step, std::string message) {
    outcome_.end = end;
    outcome_.problem = Problem{fileName_, step.line, std::move(message)};
    return false;
  }

  RunOutcome stopped() {
    outcome_.end = RunEnd::Stopped;
    return outcome_;
  }

  // The yield after a command (command: one ran; else a Yield step alone).
  bool finishCommand(bool command) {
    if (command && hooks_.commandFinished) hooks_.commandFinished();
    return yieldAndGoOn();
  }

  bool pause(double seconds) {
    const std::function<bool()> between =
        options_.yieldInPauses ? std::function<bool()>([this] { return yieldAndGoOn(); })
                               : std::function<bool()>();
    const PauseEnd end = pauseFor(clock_, seconds, between);
    if (end == PauseEnd::NotANumber && hooks_.pauseNotANumber) hooks_.pauseNotANumber();
    return end != PauseEnd::Stopped;
  }

  bool yieldAndGoOn() {
    if (hooks_.yield) hooks_.yield();
    stopped_ = hooks_.stopRequested && hooks_.stopRequested();
    return !stopped_;
  }

  // Sleeps at most one slice of duration, then yields; false when asked to stop.
  bool sleepSlice(Nanos duration) {
    clock_.sleepFor(std::min(duration, kWaitSlice));
    return yieldAndGoOn();
  }

  bool waitFor(Nanos duration) {
    const Nanos end = clock_.now() + duration;
    for (Nanos now = clock_.now(); now < end; now = clock_.now()) {
      if (!sleepSlice(end - now)) return false;
    }
    return true;
  }

  i2c::I2cMaster& master_;
  base::Clock& clock_;
  const std::string& fileName_;
  const RunOptions& options_;
  const RunHooks& hooks_;
  RunOutcome outcome_;
  bool stopped_ = false;
};

}  // namespace

RunOutcome runScript(i2c::I2cMaster& master, base::Clock& clock, const std::vector<Step>& steps,
                     const std::string& fileName, const RunOptions& options,
                     const RunHooks& hooks) {
  auto step = steps.begin();
  const NextStep next = [&]() -> std::optional<Step> {
    if (step == steps.end()) return std::nullopt;
    return *step++;
  };
  return runSteps(master, clock, next, busCommandCount(steps), fileName, options, hooks);
}

RunOutcome runSteps(i2c::I2cMaster& master, base::Clock& clock, const NextStep& next,
                    std::size_t total, const std::string& fileName, const RunOptions& options,
                    const RunHooks& hooks) {
  return Runner(master, clock, fileName, options, hooks).run(next, total);
}

std::size_t busCommandCount(const std::vector<Step>& steps) {
  return static_cast<std::size_t>(std::count_if(
      steps.begin(), steps.end(), [](const Step& step) { return isBusCommand(step.op); }));
}

std::string registerText(const Target& target, std::uint32_t reg) {
  return numconv::upperHex(reg, 2 * target.format.addressBytes);
}

std::string valueText(const Target& target, std::uint32_t value) {
  return numconv::upperHex(value, 2 * target.format.valueBytes);
}

}  // namespace brelvion::scripts
