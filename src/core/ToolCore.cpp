#include "core/ToolCore.h"

namespace brelvion::core {

ToolCore::ToolCore(platform::PortIo& port_, platform::Desktop& desktop_,
                   debugger::TraceHolder& trace_)
    : port(port_),
      desktop(desktop_),
      trace(trace_),
      log(busState, debuggerState, trace, desktop),
      engine(busState, port, log, desktop) {}

ToolCore::ToolCore(platform::PortIo& port_, platform::Desktop& desktop_)
    : port(port_),
      desktop(desktop_),
      ownTrace_(std::make_unique<debugger::PlainTraceHolder>()),
      trace(*ownTrace_),
      log(busState, debuggerState, trace, desktop),
      engine(busState, port, log, desktop) {}

}  // namespace brelvion::core
