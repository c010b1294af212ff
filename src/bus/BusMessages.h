#pragma once

#include <string_view>

namespace brelvion::bus {

// The trace lines the bus engine produces, blanks included.
inline constexpr std::string_view kMsgStart = "Wisp MSG001:  Generating START on bus ";
inline constexpr std::string_view kMsgStop = "Wisp MSG002:  Generating STOP on bus ";
inline constexpr std::string_view kMsgWaitAck = "Wisp MSG003:  Waiting for ACKNOWLEDGE ";
inline constexpr std::string_view kMsgTransmit = "Wisp MSG004:  Transmitting data byte on bus ";
inline constexpr std::string_view kMsgReceivePrefix = "Wisp MSG005:  Receiving data from slave :";
inline constexpr std::string_view kMsgMasterAck = "WISP MSG:   Giving ACK";
inline constexpr std::string_view kMsgRepeatedStart =
    "Wisp MSG006:  Generating repeated START on bus ";
// One call of an adapter's driver: the adapter's name and the transfer text follow.
inline constexpr std::string_view kMsgAdapterTransferPrefix = "Wisp MSG007:  ";
inline constexpr std::string_view kMsgAdapterSmbusPrefix = "Wisp MSG008:  ";
inline constexpr std::string_view kErrNotResponding = "Wisp ERR001:  Device is not responding ";
inline constexpr std::string_view kErrNoAck = "Wisp ERR002:  No ACK received";
inline constexpr std::string_view kErrTransferNotAcknowledged =
    "Wisp ERR003:  Transfer not acknowledged ";
inline constexpr std::string_view kErrBusTimeout = "Wisp ERR004:  Bus timeout ";
inline constexpr std::string_view kErrArbitrationLost = "Wisp ERR005:  Arbitration lost ";
inline constexpr std::string_view kSysInitialised =
    "Wisp SYS001: I2C port initialised. Bus cleared and released";
inline constexpr std::string_view kSysOpenedPrefix = "Wisp SYS002: I2C bus opened on adress ";
inline constexpr std::string_view kSysAdapterOpenedPrefix =
    "Wisp SYS002: I2C bus opened on adapter ";
inline constexpr std::string_view kSysAdapterReady =
    "Wisp SYS001: I2C adapter ready, no lines to clear";
inline constexpr std::string_view kSysClosed = "Wisp SYS003 :I2C Bus closed ";

// The lines of the line-level controls, which the design did not have.
inline constexpr std::string_view kSysOpenedOnPrefix = "Wisp SYS002: I2C bus opened on ";
inline constexpr std::string_view kErrClockHeld = "Wisp ERR006:  Clock stretched beyond timeout ";
inline constexpr std::string_view kMsgRecovery = "Wisp MSG009:  Recovering bus ";
inline constexpr std::string_view kSysBusFreePrefix = "Wisp SYS004: Bus free after ";
inline constexpr std::string_view kErrSdaHeld = "Wisp ERR008:  SDA held low before START ";
inline constexpr std::string_view kErrStillHeldPrefix = "Wisp ERR007:  Bus still held after ";

}  // namespace brelvion::bus
