#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/Clock.h"
#include "commandfiles/CommandFileErrors.h"
#include "commandfiles/InputFile.h"
#include "commandfiles/SendHooks.h"
#include "core/ToolCore.h"
#include "scripts/CommandFileWrites.h"

namespace brelvion::commandfiles {

// The next value of a command file: the first hex digit found and, when the byte after it
// is a hex digit too, that one. Any other byte after the first digit (blank, line end,
// tab, comma, ...) ends a one-digit value and is consumed with it. -1 when the file ends
// before a value begins. Throws RuntimeError when reading fails.
std::int16_t readHexField(InputFile& file);

// The writes a command file (or its copy) makes: its complete groups of three values.
// Throws RuntimeError when the file cannot be read.
long long countWrites(const std::string& path);
// The same from file's reading position on.
long long countWrites(InputFile& file);

// Waits seconds on clock without letting any window event run. A value that is not a
// finite number shows the "ERROR" box and ends the wait; one of 0 or less does not wait.
void delayTime(desktop::Desktop& desktop, double seconds, base::Clock& clock = base::systemClock());

// What the caller sets for a command file's send: the extra seconds after each write, on
// top of the fixed pause (scripts::kPauseAfterWrite), and whether each write ends in a beep.
struct SendOptions {
  double commandDelay = 0;
  bool beepOn = false;
};

enum class SendEnd { Completed, Stopped, Failed };

// The three values one pass of a command file read; -1 where the file ended first.
struct ReadGroup {
  std::int16_t device = -1;
  std::int16_t subAddress = -1;
  std::int16_t data = -1;
  bool operator==(const ReadGroup&) const = default;
};

struct SendOutcome {
  SendEnd end = SendEnd::Completed;
  long long writes = 0;
  // Writes not acknowledged in full.
  long long unacknowledged = 0;
  std::optional<Failure> failure;
  // The last group read, a written one's device as written (bit 0 cleared): what the
  // window's register values hold after the send. None when no pass was made.
  std::optional<ReadGroup> lastGroup;
};

// Sends the command file name on the script runner, read as it runs: three values at a
// time (device, register, data); each complete group is written, followed by
// updateDeviceMonitor, a pause of kPauseAfterWrite, one of commandDelay seconds and a beep
// when beepOn; every group, complete or not (one cut off by the end of the file is not
// written), is followed by one processPendingEvents (and with yieldInPauses, the pauses
// are sliced by more of them). A write that is not acknowledged is counted and the send
// goes on. An error shows the box with the default title and ends the send; the file is
// closed on every path. The caller holds the bus (ToolCore::BusCommand) and keeps Send
// File disabled meanwhile; the yields fall between two writes, so the user's other bus
// commands may run in them.
SendOutcome sendCommandFile(core::ToolCore& core, const std::string& name,
                            const SendOptions& options = {}, const SendHooks& hooks = {});
// The same for a command file's text already in memory, named name in its messages.
SendOutcome sendCommandText(core::ToolCore& core, std::string_view text, const std::string& name,
                            const SendOptions& options = {}, const SendHooks& hooks = {});

enum class SendFileAction { Sent, OpenInstead };

// Send File once its button is disabled and the indicator hidden: when fileEdited, the copy
// is rebuilt from lastChosenFile (the open dialog's last choice) first; with nothing to
// send yet the window runs Open instead (OpenInstead). Anything else that goes wrong shows
// the "Send File - Error" box.
SendFileAction sendFile(core::ToolCore& core, const std::string& lastChosenFile,
                        const SendOptions& options = {}, const SendHooks& hooks = {},
                        SendOutcome* outcome = nullptr);

}  // namespace brelvion::commandfiles
