#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "base/Clock.h"
#include "bus/BusMaster.h"
#include "core/ToolCore.h"
#include "desktop/Desktop.h"

namespace brelvion::apps::cli {

// What send reads: a file, or (send -) the text already read from standard input.
struct CommandFileSource {
  std::string file;
  std::optional<std::string> text;
};

// How problems of standard input's text name it.
inline constexpr std::string_view kStandardInputName = "(standard input)";

// `send FILE` on a bus already opened: the file goes through the same comment-free copy and
// sender as the window's Send File, with the same pauses (0.1 s plus delay after each
// write). The copy is made in a private directory and removed at the end, so a
// tmpI2C.txt of the user's in the working directory is never touched. One line per write
// on out: "DEV SUB DATA ACK" or "... NO ACK", DEV as sent (bit 0 cleared), or its 7-bit
// address with sevenBit. Returns the exit status.
int runSend(core::ToolCore& core, const CommandFileSource& source, double delay, base::Clock& clock,
            std::ostream& out, std::ostream& err, bool sevenBit = false);

// `dump DEV LAST FILE`: registers 0 to LAST of device on master into FILE, as Dump to File
// writes them, its reads joined by pointerThen; errors go to desktop. Returns the exit status.
int runDump(bus::BusMaster& master, i2c::AfterMessage pointerThen, desktop::Desktop& desktop,
            std::int16_t device, std::int16_t last, const std::string& file);

}  // namespace brelvion::apps::cli
