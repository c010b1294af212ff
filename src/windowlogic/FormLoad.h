#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "commandfiles/RegisterFields.h"
#include "core/ToolCore.h"

namespace brelvion::windowlogic {

inline constexpr const char* kFormLoadTitle = "Form Load";
inline constexpr double kStartBusDelay = 0.001;

// The main window's part of its start-up.
class LoadView {
 public:
  virtual ~LoadView() = default;
  virtual void initDeviceMonitor() = 0;
  virtual void initScrollArea() = 0;
  // Text6 at most 1 character, "0"; Text7 at most 2, "00".
  virtual void initDelayFields() = 0;
  // The three port items; none selected.
  virtual void fillPortList() = 0;
  virtual std::string deviceAddressText() const = 0;  // Text2
  virtual std::string subAddressText() const = 0;     // Text3
  virtual void showWindow() = 0;
};

struct LoadOptions {
  // The port the bus is opened on (0 = LPT1).
  std::int16_t startPort = 0;
  // Runs right after the start-up's bus clear, when the bus is idle.
  std::function<void()> onBusCleared;
};

// Sets every default of the tool (the window's fields among them), opens the bus with the
// debugger enabled, clears and releases it, closes it again and lets pending events run.
// Any error ends the start-up where it happened with the "Form Load" box (exclamation,
// "number: description"); the program goes on with the steps done so far.
void startUp(core::ToolCore& core, commandfiles::RegisterFields& fields, LoadView& view,
             const LoadOptions& options = {});

}  // namespace brelvion::windowlogic
