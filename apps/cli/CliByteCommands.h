#pragma once

#include <chrono>
#include <ostream>
#include <string>

#include "CliRequest.h"
#include "bus/BusMaster.h"

namespace brelvion::apps::cli {

// Two upper-case hex digits of value's low byte, as the tool's one-byte commands print
// devices, registers and data.
std::string hexByte(int value);

// 0 when acknowledged, else 1.
int exitStatusOf(bool acknowledged);

// `write DEV SUB DATA`: the register written, then read back; prints the byte read and
// ACK or NO ACK, and its status is the read's acknowledge.
// pointerThen: how the read joins its pointer write and read (--repeated-start).
int runWrite(const WriteRequest& request, bus::BusMaster& master, i2c::AfterMessage pointerThen,
             std::ostream& out);

// `read DEV SUB [N]`: N bytes from SUB on in one sequential read, sixteen a line.
int runRead(const ReadRequest& request, bus::BusMaster& master, i2c::AfterMessage pointerThen,
            std::ostream& out);

// `recover`: "bus free after 5 clock pulses", or why it is not (a slave holding SCL longer
// than stretchTimeout); 0 when the bus is free.
int runRecover(bus::BusMaster& master, std::chrono::milliseconds stretchTimeout,
               std::ostream& out);

}  // namespace brelvion::apps::cli
