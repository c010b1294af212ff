#include "commandfiles/Sender.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <exception>
#include <limits>

#include "commandfiles/TmpFile.h"
#include "numconv/HexText.h"

namespace brelvion::commandfiles {

namespace {

constexpr const char* kSenderSource = "SendCommandFile";

// The longest single sleep, so that a huge pause never overflows a duration.
constexpr std::chrono::nanoseconds kLongestSleep = std::chrono::hours(1);

}  // namespace

std::int16_t ReadHexField(InputFile& file) {
  std::optional<int> value;
  while (!value) {
    if (file.atEnd()) return -1;
    value = numconv::hexDigitValue(static_cast<char>(file.get()));
  }
  if (file.atEnd()) return static_cast<std::int16_t>(*value);
  if (const std::optional<int> second = numconv::hexDigitValue(static_cast<char>(file.get()))) {
    *value = *value * 16 + *second;
  }
  return static_cast<std::int16_t>(*value);
}

long long CountWrites(const std::string& path) {
  InputFile file(path, kSenderSource);
  long long values = 0;
  while (ReadHexField(file) >= 0) ++values;
  return values / 3;
}

void DelayTime(desktop::Desktop& desktop, double seconds, base::Clock& clock) {
  using Seconds = std::chrono::duration<double>;
  if (!std::isfinite(seconds) || std::fabs(seconds) > std::numeric_limits<float>::max()) {
    reportFailure(desktop, Step::DelayTime,
                  base::RuntimeError(base::RuntimeError::kOverflow, "DelayTime"));
    return;
  }
  // Compared in single precision, as the pause has always been measured.
  const float requested = static_cast<float>(seconds);
  const auto start = clock.now();
  for (;;) {
    const float elapsed = static_cast<float>(Seconds(clock.now() - start).count());
    if (!(requested > elapsed)) return;
    const auto left = std::chrono::duration_cast<std::chrono::nanoseconds>(
        Seconds(static_cast<double>(requested) - static_cast<double>(elapsed)));
    clock.sleepFor(std::max(std::min(left, kLongestSleep), std::chrono::nanoseconds(1)));
  }
}

namespace {

void sendGroups(core::ToolCore& core, InputFile& file, long long total, const SendHooks& hooks,
                SendOutcome& outcome) {
  core::ProgramValues& values = core.values();
  base::Clock& clock = hooks.clock != nullptr ? *hooks.clock : base::systemClock();
  while (!file.atEnd()) {
    values.DeviceAddress = ReadHexField(file);
    values.SubAddress = ReadHexField(file);
    values.WriteData = ReadHexField(file);
    if (values.DeviceAddress != -1 && values.SubAddress != -1 && values.WriteData != -1) {
      if (hooks.progress) hooks.progress(outcome.writes + 1, total);
      {
        const bus::NotedCommand noted(core.engine().record(), bus::kByteRegisterCommand);
        core.engine().WriteRegister(values.DeviceAddress, values.SubAddress, values.WriteData);
      }
      ++outcome.writes;
      if (!core.busState().AckReceived) ++outcome.unacknowledged;
      if (hooks.UpdateDeviceMonitor) hooks.UpdateDeviceMonitor();
      DelayTime(core.desktop(), kPauseAfterWrite, clock);
      DelayTime(core.desktop(), values.CommandDelay, clock);
      if (values.BeepOn) core.desktop().beep();
    }
    core.yieldBetweenTransactions();
    if (hooks.stopRequested && hooks.stopRequested()) {
      outcome.end = SendEnd::Stopped;
      return;
    }
  }
}

}  // namespace

SendOutcome SendCommandFile(core::ToolCore& core, const std::string& name, const SendHooks& hooks) {
  SendOutcome outcome;
  try {
    // Counted first only for a caller that shows progress: the count is a second reading.
    const long long total = hooks.progress ? CountWrites(name) : 0;
    InputFile file(name, kSenderSource);
    sendGroups(core, file, total, hooks, outcome);
  } catch (const base::RuntimeError& error) {
    outcome.end = SendEnd::Failed;
    outcome.failure = reportFailure(core.desktop(), Step::SendCommandFile, error);
  }
  return outcome;
}

namespace {

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
