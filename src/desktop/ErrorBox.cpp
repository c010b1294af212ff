#include "desktop/ErrorBox.h"

#include <utility>

namespace brelvion::desktop {

MessageBoxRequest errorBoxRequest(const base::RuntimeError& error, std::string title,
                                  MessageIcon icon, std::string_view prefix) {
  return {std::string(prefix) + error.boxText(), std::move(title), icon, MessageButtons::Ok};
}

void showErrorBox(Desktop& desktop, const base::RuntimeError& error, std::string title,
                  MessageIcon icon, std::string_view prefix) {
  desktop.messageBox(errorBoxRequest(error, std::move(title), icon, prefix));
}

}  // namespace brelvion::desktop
