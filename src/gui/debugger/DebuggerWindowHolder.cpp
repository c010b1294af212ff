#include "gui/debugger/DebuggerWindowHolder.h"

#include <stdexcept>

#include "core/ToolCore.h"
#include "gui/debugger/DebuggerWindow.h"

namespace brelvion::gui::debugger {

namespace {
const std::string kNoTrace;
}  // namespace

DebuggerWindowHolder::DebuggerWindowHolder(desktop::WindowSystem& windows) : windows_(windows) {}

DebuggerWindowHolder::~DebuggerWindowHolder() {
  delete window_.data();
  for (const QPointer<DebuggerWindow>& closed : closed_) delete closed.data();
}

void DebuggerWindowHolder::attach(core::ToolCore& core) {
  core_ = &core;
  // The record changes without the window: shown when the window is there to show it.
  core.record().setListener([this](const bus::Transaction*) {
    if (window_) window_->noteTransactionsChanged();
  });
}

bool DebuggerWindowHolder::exists() const { return !window_.isNull(); }

void DebuggerWindowHolder::createHidden() {
  if (!exists()) create();
}

const std::string& DebuggerWindowHolder::text() const {
  return window_ ? window_->traceText() : kNoTrace;
}

void DebuggerWindowHolder::replaceText(std::string text) {
  createHidden();
  window_->setTraceText(std::move(text));
}

void DebuggerWindowHolder::showWindow() {
  createHidden();
  window_->show();
  if (window_->isMinimized()) window_->showNormal();
  window_->raise();
  window_->activateWindow();
}

DebuggerWindow* DebuggerWindowHolder::window() const { return window_.data(); }

void DebuggerWindowHolder::create() {
  if (core_ == nullptr) throw std::logic_error("debugger window used before attach()");
  window_ = new DebuggerWindow(*core_, windows_);
  DebuggerWindow* created = window_.data();
  QObject::connect(created, &DebuggerWindow::closedThroughFrame, created, [this, created] {
    if (window_ == created) forget();
  });
}

void DebuggerWindowHolder::forget() {
  std::erase_if(closed_, [](const QPointer<DebuggerWindow>& closed) { return closed.isNull(); });
  closed_.push_back(window_);
  DebuggerWindow* closing = window_.data();
  window_.clear();
  closing->destroyWhenIdle();
}

}  // namespace brelvion::gui::debugger
