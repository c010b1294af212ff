#pragma once

#include <functional>
#include <vector>

#include "platform/Desktop.h"

namespace brelvion::testing {

// Records what the core asked of the window system, and answers boxes with a set answer.
class FakeDesktop : public platform::Desktop {
 public:
  platform::MessageAnswer messageBox(const platform::MessageBoxRequest& request) override {
    boxes.push_back(request);
    if (onBox) onBox(request);
    return answer;
  }
  void processPendingEvents() override {
    ++yields;
    if (onYield) onYield();
  }
  void beep() override { ++beeps; }

  std::vector<platform::MessageBoxRequest> boxes;
  int yields = 0;
  int beeps = 0;
  platform::MessageAnswer answer = platform::MessageAnswer::Ok;
  // Runs inside the yield, as a pending event would.
  std::function<void()> onYield;
  std::function<void(const platform::MessageBoxRequest&)> onBox;
};

}  // namespace brelvion::testing
