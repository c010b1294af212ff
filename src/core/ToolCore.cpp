#include "core/ToolCore.h"

namespace brelvion::core {

ToolCore::ToolCore(port::PortIo& port, desktop::Desktop& desktop, trace::TraceHolder& trace)
    : port_(port),
      desktop_(desktop),
      trace_(trace),
      log_(busState_, debuggerState_, trace_, desktop_),
      cable_(port_, busState_),
      engine_(busState_, port_, cable_, log_) {}

ToolCore::ToolCore(port::PortIo& port, desktop::Desktop& desktop)
    : port_(port),
      desktop_(desktop),
      ownTrace_(std::make_unique<trace::PlainTraceHolder>()),
      trace_(*ownTrace_),
      log_(busState_, debuggerState_, trace_, desktop_),
      cable_(port_, busState_),
      engine_(busState_, port_, cable_, log_) {}

void ToolCore::useAdapter(std::unique_ptr<port::BusAdapter> adapter) {
  engine_.setAdapter(adapter.get());
  adapter_ = std::move(adapter);
}

void ToolCore::yieldBetweenTransactions() {
  const bool busy = busBusy_;
  busBusy_ = false;
  struct Restore {
    bool& flag;
    bool value;
    ~Restore() { flag = value; }
  } restore{busBusy_, busy};
  desktop_.processPendingEvents();
}

}  // namespace brelvion::core
