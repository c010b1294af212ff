#pragma once

#include <QAction>
#include <QString>
#include <QtGlobal>
#include <memory>

#include "gui/debugger/DebuggerWindow.h"

namespace brelvion::testing {

// The debugger window of a test's rig (any rig whose DebuggerWindowHolder is named holder),
// made on first use, and its controls by their object names.
template <typename Rig>
class DebuggerControls {
 protected:
  std::unique_ptr<Rig> rig;

  gui::debugger::DebuggerWindow* window() {
    rig->holder.createHidden();
    return rig->holder.window();
  }
  template <typename T>
  T* control(const char* name) {
    gui::debugger::DebuggerWindow* shown = window();
    T* found = shown->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) qFatal("no control %s", name);
    return found;
  }
  QAction* item(const char* name) { return control<QAction>(name); }
};

}  // namespace brelvion::testing
