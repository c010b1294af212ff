#pragma once

#include <string>
#include <string_view>

#include "base/RuntimeError.h"
#include "desktop/Desktop.h"

namespace brelvion::desktop {

// What Open's and New I2C File's boxes put in front of the number.
inline constexpr std::string_view kErrorCodePrefix = "Error Code ";

// The box that reports a numbered error: "number: description" after prefix (Open and New
// I2C File put "Error Code " in front), one OK button. An empty title leaves it to the
// window system, which shows the program's name.
MessageBoxRequest errorBoxRequest(const base::RuntimeError& error, std::string title,
                                  MessageIcon icon, std::string_view prefix = {});

// Shows errorBoxRequest and returns once the user has closed it.
void showErrorBox(Desktop& desktop, const base::RuntimeError& error, std::string title,
                  MessageIcon icon, std::string_view prefix = {});

}  // namespace brelvion::desktop
