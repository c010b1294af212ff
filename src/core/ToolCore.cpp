#include "core/ToolCore.h"

namespace brelvion::core {

ToolCore::ToolCore(port::PortIo& port, desktop::Desktop& desktop, trace::TraceHolder& trace)
    : ToolCore(&port, nullptr, desktop, &trace) {}

ToolCore::ToolCore(port::PortIo& port, desktop::Desktop& desktop)
    : ToolCore(&port, nullptr, desktop, nullptr) {}

ToolCore::ToolCore(port::BitLines& lines, desktop::Desktop& desktop, trace::TraceHolder& trace)
    : ToolCore(nullptr, &lines, desktop, &trace) {}

ToolCore::ToolCore(port::BitLines& lines, desktop::Desktop& desktop)
    : ToolCore(nullptr, &lines, desktop, nullptr) {}

// Exactly one of port and lines is given; trace is nullptr for a plain text held here.
ToolCore::ToolCore(port::PortIo* port, port::BitLines* lines, desktop::Desktop& desktop,
                   trace::TraceHolder* trace)
    : desktop_(desktop),
      ownTrace_(trace == nullptr ? std::make_unique<trace::PlainTraceHolder>() : nullptr),
      trace_(trace == nullptr ? *ownTrace_ : *trace),
      log_(busState_, trace_, desktop_),
      cable_(port == nullptr ? std::nullopt : std::make_optional<bus::LptCable>(*port, busState_)),
      engine_(port == nullptr ? bus::BusEngine(busState_, *lines, log_, record_)
                              : bus::BusEngine(busState_, *port, *cable_, log_, record_)) {}

void ToolCore::useAdapter(std::unique_ptr<port::BusAdapter> adapter) {
  if (!adapter) {
    adapter_.reset();
    return;
  }
  adapter_ = std::make_unique<bus::AdapterMaster>(std::move(adapter), busState_, log_, record_);
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
