#pragma once

#include <ostream>

#include "desktop/Desktop.h"

namespace brelvion::apps::cli {

// Window-system services for a terminal: boxes become lines on standard error, with their
// title when they have one, and questions are answered No; nothing beeps, since the exit
// status already tells a script about a missing acknowledge.
class ConsoleDesktop : public desktop::Desktop {
 public:
  explicit ConsoleDesktop(std::ostream& err) : err_(err) {}

  desktop::MessageAnswer messageBox(const desktop::MessageBoxRequest& request) override {
    err_ << "brelvion-i2c-cli: ";
    if (!request.title.empty()) err_ << request.title << ": ";
    err_ << request.text << '\n';
    return request.buttons == desktop::MessageButtons::YesNo ? desktop::MessageAnswer::No
                                                             : desktop::MessageAnswer::Ok;
  }
  void processPendingEvents() override {}
  void beep() override {}

 private:
  std::ostream& err_;
};

}  // namespace brelvion::apps::cli
