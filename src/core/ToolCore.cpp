#include "core/ToolCore.h"

#include "base/RuntimeError.h"

namespace brelvion::core {

namespace {

[[noreturn]] void noLines() {
  throw base::RuntimeError(base::RuntimeError::kInvalidCall, "ToolCore",
                           "There are no bus lines: an adapter carries the bus");
}

}  // namespace

ToolCore::ToolCore(port::PortIo& port, desktop::Desktop& desktop, trace::TraceHolder& trace)
    : ToolCore(&port, nullptr, nullptr, desktop, &trace) {}

ToolCore::ToolCore(port::PortIo& port, desktop::Desktop& desktop)
    : ToolCore(&port, nullptr, nullptr, desktop, nullptr) {}

ToolCore::ToolCore(port::BitLines& lines, desktop::Desktop& desktop, trace::TraceHolder& trace)
    : ToolCore(nullptr, &lines, nullptr, desktop, &trace) {}

ToolCore::ToolCore(port::BitLines& lines, desktop::Desktop& desktop)
    : ToolCore(nullptr, &lines, nullptr, desktop, nullptr) {}

ToolCore::ToolCore(std::unique_ptr<port::BusAdapter> adapter, desktop::Desktop& desktop)
    : ToolCore(nullptr, nullptr, std::move(adapter), desktop, nullptr) {}

// At most one of port and lines is given, or an adapter instead; trace is nullptr for a
// plain text held here.
ToolCore::ToolCore(port::PortIo* port, port::BitLines* lines,
                   std::unique_ptr<port::BusAdapter> adapter, desktop::Desktop& desktop,
                   trace::TraceHolder* trace)
    : desktop_(desktop),
      ownTrace_(trace == nullptr ? std::make_unique<trace::PlainTraceHolder>() : nullptr),
      trace_(trace == nullptr ? *ownTrace_ : *trace),
      log_(trace_, desktop_) {
  if (port != nullptr) lines = &cable_.emplace(*port);
  if (lines != nullptr) {
    builtEngine_ = std::make_unique<bus::BusEngine>(*lines, log_, record_);
    engine_ = builtEngine_.get();
  }
  if (adapter) useAdapter(std::move(adapter));
}

bus::BusMaster& ToolCore::master() {
  if (adapter_) return *adapter_;
  return engine();
}

bus::BusEngine& ToolCore::engine() {
  if (engine_ == nullptr) noLines();
  return *engine_;
}

void ToolCore::useLines(port::BitLines* lines) {
  std::optional<bus::LineSettings> settings;
  if (engine_ != nullptr) settings = engine_->settings();
  if (builtEngine_ != nullptr && lines == &builtEngine_->lines()) lines = nullptr;
  if (lines == nullptr && builtEngine_ == nullptr) return;
  if (lines == nullptr) {
    engine_ = builtEngine_.get();
    otherEngine_.reset();
  } else {
    if (!otherEngine_ || &otherEngine_->lines() != lines) {
      otherEngine_ = std::make_unique<bus::BusEngine>(*lines, log_, record_);
    }
    engine_ = otherEngine_.get();
  }
  if (settings) engine_->apply(*settings);
}

void ToolCore::useAdapter(std::unique_ptr<port::BusAdapter> adapter) {
  if (!adapter) {
    if (engine_ == nullptr) noLines();
    adapter_.reset();
    return;
  }
  adapter_ = std::make_unique<bus::AdapterMaster>(std::move(adapter), log_, record_);
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
