#pragma once

#include <ostream>

#include "platform/Desktop.h"

namespace brelvion::cli {

// Window-system services for a terminal: boxes become lines on standard error, with their
// title when they have one, and questions are answered No; nothing beeps, since the exit
// status already tells a script about a missing acknowledge.
class ConsoleDesktop : public platform::Desktop {
 public:
  explicit ConsoleDesktop(std::ostream& err) : err_(err) {}

  platform::MessageAnswer messageBox(const platform::MessageBoxRequest& request) override {
    err_ << "brelvion-i2c-cli: ";
    if (!request.title.empty()) err_ << request.title << ": ";
    err_ << request.text << '\n';
    return request.buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::No
                                                              : platform::MessageAnswer::Ok;
  }
  void processPendingEvents() override {}
  void beep() override {}

 private:
  std::ostream& err_;
};

}  // namespace brelvion::cli
