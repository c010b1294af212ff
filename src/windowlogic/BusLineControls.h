#pragma once

#include <chrono>
#include <string>

#include "bus/BusEngine.h"
#include "core/ToolCore.h"
#include "desktop/Desktop.h"

namespace brelvion::windowlogic {

// The Bus menu's line controls, which the design did not have: Recover Bus and Step Time.
inline constexpr const char* kRecoverBusName = "Recover Bus";
inline constexpr const char* kStepTimeTitle = "Step Time";

// What Recover Bus says of a bus that needed no clock pulse.
inline constexpr const char* kBusAlreadyFree = "The bus was already free";

// The box Recover Bus shows, titled "Recover Bus" with one OK button: "Bus free after 5
// clock pulses" (or kBusAlreadyFree) with the information icon, or with the exclamation
// icon "Bus still held: SDA low after 9 clock pulses" or "Bus still held: SCL low for more
// than 25 ms".
desktop::MessageBoxRequest recoveryBoxRequest(const bus::RecoveryResult& result,
                                              std::chrono::milliseconds stretchTimeout);

// Recover Bus: frees the bus the program is on (BusEngine::recoverBus) and shows what it
// found in recoveryBoxRequest's box. A failure (an adapter, lines that went away) is the
// caller's to show, as any bus command's.
void recoverBus(core::ToolCore& core);

// The Step Time dialog's field that holds what cannot be applied, or None.
enum class StepTimeField { None, Step, StretchTimeout };

// Reads the dialog's two fields, the line step in microseconds (5 to 1000) and the stretch
// timeout in milliseconds (1 to 10000), each a whole decimal number with blanks around it
// allowed, and sets both on the engine. A field that holds no such number gets the box of
// the window's fields (exclamation, "number: description", title "Step Time": 13 for no
// whole number, 5 for one out of range); then nothing is set and that field is returned.
StepTimeField applyStepTime(bus::BusEngine& engine, const std::string& stepText,
                            const std::string& stretchTimeoutText, desktop::Desktop& desktop);

}  // namespace brelvion::windowlogic
