#include "commandfiles/Sender.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <filesystem>
#include <functional>
#include <limits>

#include "commandfiles/TmpFile.h"
#include "core/RegisterCommands.h"
#include "numconv/HexFields.h"
#include "numconv/HexText.h"
#include "port/DeviceAddress.h"
#include "scripts/ScriptReader.h"
#include "scripts/TextLines.h"

namespace brelvion::commandfiles {

namespace {

constexpr const char* kSenderSource = "SendCommandFile";

// The longest single sleep, so that a huge pause never overflows a duration.
constexpr std::chrono::nanoseconds kLongestSleep = std::chrono::hours(1);
// The longest sleep of a command file's pause between two passes of pending events.
constexpr std::chrono::nanoseconds kPauseSlice = std::chrono::milliseconds(50);

}  // namespace

std::int16_t ReadHexField(InputFile& file) {
  numconv::HexFieldReader reader;
  while (!file.atEnd()) {
    if (const std::optional<std::uint8_t> value = reader.take(static_cast<char>(file.get()))) {
      return *value;
    }
  }
  if (const std::optional<std::uint8_t> value = reader.end()) return *value;
  return -1;
}

long long CountWrites(const std::string& path) {
  InputFile file(path, kSenderSource);
  return CountWrites(file);
}

long long CountWrites(InputFile& file) {
  long long values = 0;
  while (ReadHexField(file) >= 0) ++values;
  return values / 3;
}

namespace {

// Waits seconds on clock; between(), when given, runs at least every kPauseSlice and ends
// the wait early by returning false. False when the wait was ended so.
bool waitOnClock(desktop::Desktop& desktop, double seconds, base::Clock& clock,
                 const std::function<bool()>& between) {
  using Seconds = std::chrono::duration<double>;
  if (!std::isfinite(seconds) || std::fabs(seconds) > std::numeric_limits<float>::max()) {
    reportFailure(desktop, Step::DelayTime,
                  base::RuntimeError(base::RuntimeError::kOverflow, "DelayTime"));
    return true;
  }
  // Compared in single precision, as the pause has always been measured.
  const float requested = static_cast<float>(seconds);
  const auto start = clock.now();
  const std::chrono::nanoseconds longest = between ? kPauseSlice : kLongestSleep;
  for (;;) {
    const float elapsed = static_cast<float>(Seconds(clock.now() - start).count());
    if (!(requested > elapsed)) return true;
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
        Seconds(static_cast<double>(requested) - static_cast<double>(elapsed)));
    clock.sleepFor(std::max(std::min(left, longest), std::chrono::nanoseconds(1)));
    if (between && !between()) return false;
  }
}

}  // namespace

void DelayTime(desktop::Desktop& desktop, double seconds, base::Clock& clock) {
  waitOnClock(desktop, seconds, clock, {});
}

namespace {

void sendGroups(core::ToolCore& core, InputFile& file, long long total, const SendHooks& hooks,
                SendOutcome& outcome) {
  const core::ProgramValues& options = core.values();
  RegisterFields ownFields;
  RegisterFields& values = hooks.fields != nullptr ? *hooks.fields : ownFields;
  base::Clock& clock = hooks.clock != nullptr ? *hooks.clock : base::systemClock();
  // One pass of pending events; false once the caller asks the send to stop.
  const std::function<bool()> goOn = [&core, &hooks] {
    core.yieldBetweenTransactions();
    return !(hooks.stopRequested && hooks.stopRequested());
  };
  while (!file.atEnd()) {
    values.DeviceAddress = ReadHexField(file);
    values.SubAddress = ReadHexField(file);
    values.WriteData = ReadHexField(file);
    if (values.DeviceAddress != -1 && values.SubAddress != -1 && values.WriteData != -1) {
      if (hooks.progress) hooks.progress(outcome.writes + 1, total);
      const auto device = port::DeviceAddress::fromByte(
          static_cast<std::uint8_t>(values.DeviceAddress));
      const bool acknowledged =
          core::writeByteRegister(core.master(), device.writeByte(),
                                  static_cast<std::uint8_t>(values.SubAddress),
                                  static_cast<std::uint8_t>(values.WriteData))
              .lastAcknowledged();
      // The address as the write sent it.
      values.DeviceAddress = device.writeByte();
      ++outcome.writes;
      if (!acknowledged) ++outcome.unacknowledged;
      if (hooks.UpdateDeviceMonitor) hooks.UpdateDeviceMonitor(acknowledged);
      const std::function<bool()> inPause = hooks.yieldInPauses ? goOn : std::function<bool()>();
      if (!waitOnClock(core.desktop(), kPauseAfterWrite, clock, inPause) ||
          !waitOnClock(core.desktop(), options.CommandDelay, clock, inPause)) {
        outcome.end = SendEnd::Stopped;
        return;
      }
      if (options.BeepOn) core.desktop().beep();
    }
    if (!goOn()) {
      outcome.end = SendEnd::Stopped;
      return;
    }
  }
}

}  // namespace

namespace {

// open makes a fresh reader of the file each time it is called.
template <typename Open>
SendOutcome sendReadings(core::ToolCore& core, const SendHooks& hooks, Open open) {
  SendOutcome outcome;
  try {
    // Counted first only for a caller that shows progress: the count is a second reading.
    long long total = 0;
    if (hooks.progress) {
      InputFile counted = open();
      total = CountWrites(counted);
    }
    InputFile file = open();
    sendGroups(core, file, total, hooks, outcome);
  } catch (const base::RuntimeError& error) {
    outcome.end = SendEnd::Failed;
    outcome.failure = reportFailure(core.desktop(), Step::SendCommandFile, error);
  }
  return outcome;
}

}  // namespace

SendOutcome SendCommandFile(core::ToolCore& core, const std::string& name, const SendHooks& hooks) {
  return sendReadings(core, hooks, [&name] { return InputFile(name, kSenderSource); });
}

SendOutcome SendCommandText(core::ToolCore& core, std::string_view text, const std::string& name,
                            const SendHooks& hooks) {
  return sendReadings(core, hooks, [&] { return InputFile::fromText(text, name); });
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

SendFileAction SendFile(core::ToolCore& core, const std::string& lastChosenFile,
                        const SendHooks& hooks, SendOutcome* outcome) {
  try {
    if (core.values().FileEdited) {
      CreateTmpFile(core, lastChosenFile);
      core.values().SendFileName = core.values().TmpFileName;
    } else {
      refuseScript(lastChosenFile);
    }
    if (core.values().SendFileName.empty()) return SendFileAction::OpenInstead;
    SendOutcome sent = SendCommandFile(core, core.values().SendFileName, hooks);
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
