#pragma once

#include <ostream>
#include <string>

#include "CliRequest.h"
#include "core/ToolCore.h"

namespace brelvion::apps::cli {

// Two upper-case hex digits of value's low byte, as the tool's one-byte commands print
// devices, registers and data.
std::string hexByte(int value);

// 0 when acknowledged, else 1.
int exitStatusOf(bool acknowledged);

// `write DEV SUB DATA`: the register written, then read back; prints the byte read and
// ACK or NO ACK, and its status is the read's acknowledge.
int runWrite(const WriteRequest& request, core::ToolCore& core, std::ostream& out);

// `read DEV SUB [N]`: N bytes from SUB on in one sequential read, sixteen a line.
int runRead(const ReadRequest& request, core::ToolCore& core, std::ostream& out);

// `recover`: "bus free after 5 clock pulses", or why it is not; 0 when the bus is free.
int runRecover(core::ToolCore& core, std::ostream& out);

}  // namespace brelvion::apps::cli
