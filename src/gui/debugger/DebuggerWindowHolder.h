#pragma once

#include <QPointer>
#include <string>
#include <vector>

#include "trace/MonitorWindow.h"

namespace brelvion::core {
class ToolCore;
}
namespace brelvion::desktop {
class WindowSystem;
}

namespace brelvion::gui::debugger {

class DebuggerWindow;

// The debugger window as the log and the main window see it: the trace lives in the
// window, which exists from its first use until the user closes it through its frame.
// Closing loses the trace, the menu marks and the caption; the next message or "Wisp
// Monitor" creates it anew and empty, while the options in ToolCore keep their values.
//
// The holder is the ToolCore's trace, so it is made first and attached to the core after:
//   DebuggerWindowHolder monitor(windows);
//   core::ToolCore core(port, windows, monitor);
//   monitor.attach(core);
class DebuggerWindowHolder : public trace::MonitorWindow {
 public:
  explicit DebuggerWindowHolder(desktop::WindowSystem& windows);
  ~DebuggerWindowHolder() override;
  DebuggerWindowHolder(const DebuggerWindowHolder&) = delete;
  DebuggerWindowHolder& operator=(const DebuggerWindowHolder&) = delete;

  // The core whose log and options the window works with; before any use.
  void attach(core::ToolCore& core);

  bool exists() const override;
  void createHidden() override;
  const std::string& text() const override;
  void replaceText(std::string text) override;
  void showWindow() override;

  // The window while it exists, else nothing.
  DebuggerWindow* window() const;

 private:
  void create();
  void forget();

  desktop::WindowSystem& windows_;
  core::ToolCore* core_ = nullptr;
  QPointer<DebuggerWindow> window_;
  // Windows closed by the user but still finishing a handler; deleted with the holder at
  // the latest.
  std::vector<QPointer<DebuggerWindow>> closed_;
};

}  // namespace brelvion::gui::debugger
