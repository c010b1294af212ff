#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/Clock.h"
#include "commandfiles/CommandFileErrors.h"
#include "commandfiles/InputFile.h"
#include "commandfiles/RegisterFields.h"
#include "core/ToolCore.h"

namespace brelvion::commandfiles {

// The fixed pause after every command-file write, before the user's CommandDelay.
inline constexpr double kPauseAfterWrite = 0.1;

// The next value of a command file: the first hex digit found and, when the byte after it
// is a hex digit too, that one. Any other byte after the first digit (blank, line end,
// tab, comma, ...) ends a one-digit value and is consumed with it. -1 when the file ends
// before a value begins. Throws RuntimeError when reading fails.
std::int16_t ReadHexField(InputFile& file);

// The writes a command file (or its copy) makes: its complete groups of three values.
// Throws RuntimeError when the file cannot be read.
long long CountWrites(const std::string& path);
// The same from file's reading position on.
long long CountWrites(InputFile& file);

// Waits seconds on clock without letting any window event run. A value that is not a
// finite number shows the "ERROR" box and ends the wait; one of 0 or less does not wait.
void DelayTime(desktop::Desktop& desktop, double seconds, base::Clock& clock = base::systemClock());

// What the window (or another caller) hears while a command file is sent. Every member
// may be left empty.
struct SendHooks {
  // Before each write goes out: it is write `index` (from 1) of `total`.
  std::function<void(long long index, long long total)> progress;
  // After each write, with whether it was acknowledged.
  std::function<void(bool acknowledged)> UpdateDeviceMonitor;
  // Asked after each group's yield; true ends the send there.
  std::function<bool()> stopRequested;
  // The pauses' clock; the system's when null.
  base::Clock* clock = nullptr;
  // The fields each group is read into (the window's, which its monitor shows), or none.
  RegisterFields* fields = nullptr;
  // Pending events run at least every 50 ms of the pauses after the writes too, and a stop
  // asked for there ends the send at once: a window keeps answering through a long delay.
  bool yieldInPauses = false;
};

enum class SendEnd { Completed, Stopped, Failed };

struct SendOutcome {
  SendEnd end = SendEnd::Completed;
  long long writes = 0;
  // Writes not acknowledged in full.
  long long unacknowledged = 0;
  std::optional<Failure> failure;
};

// Sends the command file name: three values at a time into the fields' DeviceAddress,
// SubAddress and WriteData; each complete group is written (core::writeByteRegister), followed by
// UpdateDeviceMonitor, a pause of kPauseAfterWrite plus CommandDelay seconds and a beep
// when BeepOn; every group, complete or not, is followed by one processPendingEvents (and
// with yieldInPauses, the pause is sliced by more of them).
// A group cut off by the end of the file leaves -1 in its missing values. An error shows
// the box with the default title and ends the send; the file is closed on every path.
// The caller holds the bus (ToolCore::BusCommand) and keeps Send File disabled meanwhile;
// the yields fall between two writes, so the user's other bus commands may run in them.
SendOutcome SendCommandFile(core::ToolCore& core, const std::string& name,
                            const SendHooks& hooks = {});
// The same for a command file's text already in memory, named name in its messages.
SendOutcome SendCommandText(core::ToolCore& core, std::string_view text, const std::string& name,
                            const SendHooks& hooks = {});

enum class SendFileAction { Sent, OpenInstead };

// Send File once its button is disabled and the indicator hidden: when FileEdited, the copy
// is rebuilt from lastChosenFile (the open dialog's last choice) first; with nothing to
// send yet the window runs Open instead (OpenInstead). Anything else that goes wrong shows
// the "Send File - Error" box.
SendFileAction SendFile(core::ToolCore& core, const std::string& lastChosenFile,
                        const SendHooks& hooks = {}, SendOutcome* outcome = nullptr);

}  // namespace brelvion::commandfiles
