#pragma once

#include <functional>
#include <vector>

#include "desktop/Desktop.h"

namespace brelvion::testing {

// Records what the core asked of the window system, and answers boxes with a set answer.
class FakeDesktop : public desktop::Desktop {
 public:
  desktop::MessageAnswer messageBox(const desktop::MessageBoxRequest& request) override {
    boxes.push_back(request);
    if (onBox) onBox(request);
    return answer;
  }
  void processPendingEvents() override {
    ++yields;
    if (onYield) onYield();
  }
  void beep() override { ++beeps; }

  std::vector<desktop::MessageBoxRequest> boxes;
  int yields = 0;
  int beeps = 0;
  desktop::MessageAnswer answer = desktop::MessageAnswer::Ok;
  // Runs inside the yield, as a pending event would.
  std::function<void()> onYield;
  std::function<void(const desktop::MessageBoxRequest&)> onBox;
};

}  // namespace brelvion::testing
